#include "chooserdialog.h"

#include "accessibletexts.h"
#include "captions.h"
#include "chooserlogic.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace Dravix {

namespace {

constexpr int kClientWidth = 4380;
constexpr int kClientHeight = 2805;
constexpr Rect lWyborPliku{540, 210, 3165, 240};
constexpr Rect PodgladPlikow{270, 600, 3825, 1470};
constexpr Rect TypOdczyt{630, 2250, 1300, 405};
constexpr Rect TypAnuluj{2430, 2250, 1300, 405};

} // namespace

ChooserDialog::ChooserDialog(ChooserLogic &logic, std::function<void()> changed)
    : FileListDialog("Typ", Captions::kChooserTitle, kClientWidth, kClientHeight,
                     std::move(changed))
    , m_logic(logic)
{
    QLabel *caption = addLabel("lWyborPliku", Captions::kChooserList, lWyborPliku);
    QListWidget *files =
        addFileList("PodgladPlikow", caption, AccessibleTexts::kChooserList, PodgladPlikow);
    QPushButton *read = addButton("TypOdczyt", Captions::kChooserRead, TypOdczyt);
    QPushButton *cancel = addButton("TypAnuluj", Captions::kChooserCancel, TypAnuluj);
    setTabOrder(files, read);
    setTabOrder(read, cancel);
    watchKeys();

    connect(files, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_syncing)
            forward([this] { m_logic.select(selectedRow()); });
    });
    connect(files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.doubleClick(row); });
    });
    connect(read, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickRead(); }); });
    connect(cancel, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickCancel(); }); });
}

void ChooserDialog::sync()
{
    if (syncFileList(m_logic.files()))
        showWhenHidden();
}

bool ChooserDialog::logicOpen() const
{
    return m_logic.isOpen();
}

void ChooserDialog::escape()
{
    m_logic.pressEscape();
}

void ChooserDialog::enterOnList()
{
    m_logic.pressEnterOnList();
}

std::string ChooserDialog::entryNote(int row)
{
    return m_logic.entryNote(row);
}

} // namespace Dravix
