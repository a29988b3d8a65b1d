#include "valuefiledialog.h"

#include "accessibletexts.h"
#include "captions.h"
#include "palette.h"
#include "valuefilelogic.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace Dravix {

namespace {

constexpr int kClientWidth = 4530;
constexpr int kClientHeight = 4125;
constexpr Rect lWyborPliku{330, 180, 3270, 240};
constexpr Rect ZapisPliki{300, 540, 3975, 1470};
constexpr Rect LZapiszJako{300, 2100, 1320, 240};
constexpr Rect EditPlikZapisu{300, 2430, 3975, 345};
constexpr Rect OdczytButton{360, 2970, 1425, 405};
constexpr Rect ZapisButton{1890, 2970, 1455, 405};
constexpr Rect ZapisUsun{3450, 2970, 795, 405};
constexpr Rect ZapisAnuluj{870, 3570, 2895, 345};

} // namespace

ValueFileDialog::ValueFileDialog(ValueFileLogic &logic, std::function<void()> changed)
    : FileListDialog("Zapis", Captions::kValueFilesTitle, kClientWidth, kClientHeight,
                     std::move(changed))
    , m_logic(logic)
{
    QLabel *listCaption = addLabel("lWyborPliku", Captions::kValueFilesList, lWyborPliku);
    QLabel *nameCaption = addLabel("LZapiszJako", Captions::kFileName, LZapiszJako);
    QListWidget *files =
        addFileList("ZapisPliki", listCaption, AccessibleTexts::kValueFilesList, ZapisPliki);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditPlikZapisu"));
    m_name->setGeometry(toPixels(EditPlikZapisu));
    m_name->setFont(textFont());
    m_name->setAccessibleName(QString::fromStdString(AccessibleTexts::nameOf(Captions::kFileName)));
    m_name->setAccessibleDescription(QString::fromUtf8(AccessibleTexts::kFileName));
    nameCaption->setBuddy(m_name);

    m_load = addButton("OdczytButton", Captions::kLoad, OdczytButton);
    m_save = addButton("ZapisButton", Captions::kSave, ZapisButton);
    m_delete = addButton("ZapisUsun", Captions::kDelete, ZapisUsun);
    QPushButton *exit = addButton("ZapisAnuluj", Captions::kExit, ZapisAnuluj);

    setTabOrder(files, m_name);
    setTabOrder(m_name, m_save);
    setTabOrder(m_save, exit);
    setTabOrder(exit, m_delete);
    setTabOrder(m_delete, m_load);
    watchKeys();

    // A click on the selected entry selects nothing new, yet puts its name back in the box.
    connect(files, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.clickEntry(row); });
    });
    connect(files, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = selectedRow();
        if (!m_syncing && row >= 0)
            forward([&] { m_logic.clickEntry(row); });
    });
    connect(files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.doubleClickEntry(row); });
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) {
        forward([&] { m_logic.editName(text.toStdString()); });
    });
    connect(m_load, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickLoad(); }); });
    connect(m_save, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickSave(); }); });
    connect(m_delete, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickDelete(); }); });
    connect(exit, &QPushButton::clicked, this,
            [this] { forward([this] { m_logic.clickExit(); }); });
}

void ValueFileDialog::sync()
{
    if (!syncFileList(m_logic.files()))
        return;
    const QString name = QString::fromStdString(m_logic.nameText());
    if (m_name->text() != name)
        m_name->setText(name);
    const bool enabled = m_logic.fileButtonsEnabled();
    m_load->setEnabled(enabled);
    m_save->setEnabled(enabled);
    m_delete->setEnabled(enabled);
    // What a save would replace, as the name box changes.
    const std::string note = m_logic.saveNote();
    if (const QString tip = toolTipText(note); m_save->toolTip() != tip) {
        m_save->setToolTip(tip);
        m_save->setAccessibleDescription(QString::fromStdString(note));
    }
    showWhenHidden();
}

bool ValueFileDialog::logicOpen() const
{
    return m_logic.isOpen();
}

void ValueFileDialog::escape()
{
    m_logic.pressEscape();
}

void ValueFileDialog::enterOnList()
{
    m_logic.pressEnterOnList();
}

std::string ValueFileDialog::entryNote(int row)
{
    return m_logic.entryNote(row);
}

} // namespace Dravix
