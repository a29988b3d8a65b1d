#include "captionwidth.h"
#include "windowfixture.h"

#include "accessibletexts.h"
#include "chooserdialog.h"
#include "cp1250.h"
#include "staterecord.h"
#include "valuefiledialog.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QDateTime>
#include <QFileInfo>
#include <QHelpEvent>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Dravix;

// The Qt widgets of the two dialogs on the offscreen platform.
class tst_DialogWidgets : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;
    std::unique_ptr<ChooserDialog> m_chooser;
    std::unique_ptr<ValueFileDialog> m_values;
    int m_changes = 0;

    QWidget *dialog(const QString &which) const
    {
        return which == "chooser" ? static_cast<QWidget *>(m_chooser.get()) : m_values.get();
    }
    void openChooser()
    {
        m_f->main.clickChooser();
        syncBoth();
    }
    void openValues()
    {
        m_f->main.clickValueFiles();
        syncBoth();
    }
    void syncBoth()
    {
        m_chooser->sync();
        m_values->sync();
    }
    template <typename T> T *control(const QString &which, const char *name) const
    {
        T *widget = dialog(which)->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static void clickEntry(QListWidget *list, int row, bool twice = false)
    {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            // As a real double-click arrives: a click, then a double-click event and a release.
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        }
    }

    // Everything the main window shows and keeps.
    QString windowState() const
    {
        const MainWindowLogic &w = m_f->main;
        const ModelState &st = w.state();
        QString text =
            QString::fromStdString(w.title() + "|" + w.modelHeading() + "|" + st.DescriptionFile +
                                   "|" + formatStateRecord(w.stateRecord()));
        for (int k = 0; k < kSlotCount; ++k) {
            for (const LabelState *label :
                 {&w.parameterName(k), &w.upperDescription(k), &w.lowerDescription(k)})
                text += QString::fromStdString(label->caption) + QString::number(label->visible);
            const EntryState &entry = w.entry(k);
            text += QString::fromStdString(entry.text) + QString::number(entry.visible) +
                    QString::number(entry.background.red) + QString::number(st.RangeMin[k]) +
                    QString::number(st.RangeMax[k]) + QString::number(st.ParamActive[k]);
        }
        for (const ListState *list : {&w.ports(), &w.lineSettings()}) {
            for (const std::string &entry : list->entries)
                text += QString::fromStdString(entry) + ",";
            text += QString::number(list->selected);
        }
        return text + QString::number(w.optionSelected(2)) + QString::number(st.ActiveSet) +
               QString::number(st.DeviceCode) + QString::number(st.InvalidEntries) +
               QString::number(st.PortNumber) + QString::number(st.PortAvailable) +
               QString::number(w.portInfoVisible());
    }
    // The tooltip that resting the pointer on a list's row shows.
    static QString hover(QListWidget *list, int row)
    {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        return QToolTip::text();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
        m_f->main.load();
        m_changes = 0;
        m_chooser = std::make_unique<ChooserDialog>(m_f->chooser(), [this] {
            ++m_changes;
            syncBoth();
        });
        m_values = std::make_unique<ValueFileDialog>(m_f->values(), [this] {
            ++m_changes;
            syncBoth();
        });
    }
    void cleanup()
    {
        m_values.reset();
        m_chooser.reset();
        m_f.reset();
    }

    void windows_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::newRow("chooser") << "chooser"
                                 << "Typ"
                                 << "Dravix - wybór pliku" << QSize(292, 187);
        QTest::newRow("value files") << "values"
                                     << "Zapis"
                                     << "Dravix - Zapis/odczyt" << QSize(302, 275);
    }
    void windows()
    {
        QFETCH(QString, which);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        QWidget *window = dialog(which);
        QVERIFY(!window->isVisible());
        which == "chooser" ? openChooser() : openValues();

        QVERIFY(window->isVisible());
        QCOMPARE(window->objectName(), name);
        QCOMPARE(window->windowTitle(), caption);
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), nullptr);
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QCOMPARE(window->size(), size);
        QCOMPARE(window->minimumSize(), size);
        QCOMPARE(window->maximumSize(), size);
        QCOMPARE(window->palette().color(QPalette::Window), QColor(1, 125, 195));
        // A screen reader hears a dialog with its title.
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(window);
        QCOMPARE(accessible->role(), QAccessible::Dialog);
        QCOMPARE(accessible->text(QAccessible::Name), caption);
        const QPoint centre = window->screen()->availableGeometry().center();
        // Placed before the window manager's frame is known: centred up to the frame's width.
        const QSize frame = window->frameGeometry().size() - window->size();
        QVERIFY2((window->geometry().center() - centre).manhattanLength() <=
                     frame.width() + frame.height() + 2,
                 "the dialog opens centred on the screen");
    }

    void controls_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<qreal>("points");

        QTest::newRow("Typ lWyborPliku")
            << "chooser"
            << "lWyborPliku"
            << "Wybór pliku konfiguracyjnego:" << QRect(36, 14, 211, 16) << 9.75;
        QTest::newRow("PodgladPlikow")
            << "chooser"
            << "PodgladPlikow" << QString() << QRect(18, 40, 255, 98) << 9.75;
        QTest::newRow("TypOdczyt") << "chooser"
                                   << "TypOdczyt"
                                   << "ODCZYT" << QRect(42, 150, 87, 27) << 8.25;
        QTest::newRow("TypAnuluj") << "chooser"
                                   << "TypAnuluj"
                                   << "ANULUJ" << QRect(162, 150, 87, 27) << 8.25;

        QTest::newRow("Zapis lWyborPliku")
            << "values"
            << "lWyborPliku"
            << "Wybór pliku do odczytu/zapisu:" << QRect(22, 12, 218, 16) << 9.75;
        QTest::newRow("ZapisPliki") << "values"
                                    << "ZapisPliki" << QString() << QRect(20, 36, 265, 98) << 9.75;
        QTest::newRow("LZapiszJako") << "values"
                                     << "LZapiszJako"
                                     << "Nazwa pliku:" << QRect(20, 140, 88, 16) << 9.75;
        QTest::newRow("EditPlikZapisu")
            << "values"
            << "EditPlikZapisu" << QString() << QRect(20, 162, 265, 23) << 9.75;
        QTest::newRow("OdczytButton") << "values"
                                      << "OdczytButton"
                                      << "ODCZYTAJ" << QRect(24, 198, 95, 27) << 8.25;
        QTest::newRow("ZapisButton") << "values"
                                     << "ZapisButton"
                                     << "ZAPISZ" << QRect(126, 198, 97, 27) << 8.25;
        QTest::newRow("ZapisUsun") << "values"
                                   << "ZapisUsun"
                                   << "USUŃ" << QRect(230, 198, 53, 27) << 8.25;
        QTest::newRow("ZapisAnuluj") << "values"
                                     << "ZapisAnuluj"
                                     << "WYJŚCIE" << QRect(58, 238, 193, 23) << 8.25;
    }
    void controls()
    {
        QFETCH(QString, which);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(qreal, points);
        QWidget *widget = control<QWidget>(which, name.toLatin1().constData());
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->font().pointSizeF(), points);
        QVERIFY(widget->font().bold());
        if (!caption.isEmpty())
            QVERIFY2(captionWidth(widget) <= widget->width(),
                     qPrintable(widget->font().family() + " needs " +
                                QString::number(captionWidth(widget))));
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
            QCOMPARE(list->palette().color(QPalette::Base), QColor(255, 224, 192));
            QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        }
    }

    void accessibleTexts_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("caption"); // the label linked to it

        QTest::newRow("PodgladPlikow")
            << "chooser"
            << "PodgladPlikow"
            << "Wybór pliku konfiguracyjnego" << AccessibleTexts::kChooserList << "lWyborPliku";
        QTest::newRow("ZapisPliki")
            << "values"
            << "ZapisPliki"
            << "Wybór pliku do odczytu/zapisu" << AccessibleTexts::kValueFilesList << "lWyborPliku";
        QTest::newRow("EditPlikZapisu")
            << "values"
            << "EditPlikZapisu"
            << "Nazwa pliku" << AccessibleTexts::kFileName << "LZapiszJako";
    }
    void accessibleTexts()
    {
        QFETCH(QString, which);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, caption);
        which == "chooser" ? openChooser() : openValues();
        QWidget *widget = this->control<QWidget>(which, control.toLatin1().constData());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(accessible->text(QAccessible::Description), description);
        // The caption tells the screen reader which control it labels.
        auto *label = this->control<QLabel>(which, caption.toLatin1().constData());
        QCOMPARE(label->buddy(), widget);
        const auto labelled =
            QAccessible::queryAccessibleInterface(label)->relations(QAccessible::Labelled);
        QCOMPARE(labelled.size(), 1);
        QCOMPARE(labelled.first().first->object(), widget);
    }

    void arrowsChooseAndEnterLoads_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("description");
        QTest::newRow("chooser") << "chooser"
                                 << "xyz.set"
                                 << "xyz.set";
        QTest::newRow("value files") << "values"
                                     << "b.vq"
                                     << "xyz.set";
    }
    void arrowsChooseAndEnterLoads()
    {
        QFETCH(QString, which);
        QFETCH(QString, chosen);
        QFETCH(QString, description);
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=abc.set\r\n"));
        QVERIFY(m_f->folder.writeBytes("b.vq", "konfig=xyz.set\r\n"));
        which == "chooser" ? openChooser() : openValues();
        QApplication::setActiveWindow(dialog(which));
        QVERIFY(QTest::qWaitForWindowActive(dialog(which)));
        auto *list =
            control<QListWidget>(which, which == "chooser" ? "PodgladPlikow" : "ZapisPliki");
        QVERIFY(list->hasFocus());
        // Enter before a file is chosen loads nothing.
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(dialog(which)->isVisible());
        QCOMPARE(m_f->main.state().DescriptionFile, std::string());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentItem()->text(), chosen);
        if (which == "values")
            QCOMPARE(control<QLineEdit>("values", "EditPlikZapisu")->text(), chosen);
        QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!dialog(which)->isVisible());
        QCOMPARE(QString::fromStdString(m_f->main.state().DescriptionFile), description);
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("chooser") << "chooser"
                                 << QStringList{"PodgladPlikow", "TypOdczyt", "TypAnuluj"};
        QTest::newRow("value files")
            << "values" << QStringList{"ZapisPliki",  "EditPlikZapisu", "ZapisButton",
                                       "ZapisAnuluj", "ZapisUsun",      "OdczytButton"};
    }
    void tabOrder()
    {
        QFETCH(QString, which);
        QFETCH(QStringList, order);
        which == "chooser" ? openChooser() : openValues();
        QWidget *window = dialog(which);
        QCOMPARE(window->focusWidget()->objectName(), order.first());
        QStringList chain;
        QWidget *widget = window->findChild<QWidget *>(order.first());
        do {
            if (widget->parentWidget() == window && (widget->focusPolicy() & Qt::TabFocus))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != window->findChild<QWidget *>(order.first()));
        QCOMPARE(chain, order);
    }

    void escapeCloses_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("focus");
        QTest::newRow("chooser, list") << "chooser"
                                       << "PodgladPlikow";
        QTest::newRow("chooser, button") << "chooser"
                                         << "TypAnuluj";
        QTest::newRow("value files, list") << "values"
                                           << "ZapisPliki";
        QTest::newRow("value files, name box") << "values"
                                               << "EditPlikZapisu";
        QTest::newRow("value files, button") << "values"
                                             << "ZapisAnuluj";
    }
    void escapeCloses()
    {
        QFETCH(QString, which);
        QFETCH(QString, focus);
        which == "chooser" ? openChooser() : openValues();
        QTest::keyClick(control<QWidget>(which, focus.toLatin1().constData()), Qt::Key_Escape);
        QVERIFY(!dialog(which)->isVisible());
        QVERIFY(!m_f->chooser().isOpen());
        QVERIFY(!m_f->values().isOpen());
        QVERIFY(m_changes > 0);
    }

    void closingByTheFrameCloses_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("chooser") << "chooser";
        QTest::newRow("value files") << "values";
    }
    void closingByTheFrameCloses()
    {
        QFETCH(QString, which);
        which == "chooser" ? openChooser() : openValues();
        dialog(which)->close();
        QVERIFY(!dialog(which)->isVisible());
        QVERIFY(!m_f->chooser().isOpen());
        QVERIFY(!m_f->values().isOpen());
    }

    void typingEnablesTheFileButtons()
    {
        openValues();
        auto *name = control<QLineEdit>("values", "EditPlikZapisu");
        const QList<QPushButton *> fileButtons = {control<QPushButton>("values", "OdczytButton"),
                                                  control<QPushButton>("values", "ZapisButton"),
                                                  control<QPushButton>("values", "ZapisUsun")};
        for (QPushButton *button : fileButtons)
            QVERIFY(!button->isEnabled());
        QTest::keyClicks(name, "ab");
        QCOMPARE(m_f->values().nameText(), std::string("ab"));
        for (QPushButton *button : fileButtons)
            QVERIFY(button->isEnabled());
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClick(name, Qt::Key_Backspace);
        for (QPushButton *button : fileButtons)
            QVERIFY(!button->isEnabled());
        QVERIFY(control<QPushButton>("values", "ZapisAnuluj")->isEnabled());
    }

    void clickingAnEntryFillsTheNameBox()
    {
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=abc.set\r\n"));
        QVERIFY(m_f->folder.writeBytes("b.vq", "konfig=abc.set\r\n"));
        openValues();
        auto *list = control<QListWidget>("values", "ZapisPliki");
        QCOMPARE(list->count(), 2);
        QVERIFY(list->selectedItems().isEmpty());
        clickEntry(list, 1);
        QCOMPARE(control<QLineEdit>("values", "EditPlikZapisu")->text(), QString("b.vq"));
        QVERIFY(control<QPushButton>("values", "ZapisUsun")->isEnabled());
    }

    void savingShowsTheNewFile()
    {
        openValues();
        QTest::keyClicks(control<QLineEdit>("values", "EditPlikZapisu"), "nowy");
        QTest::mouseClick(control<QPushButton>("values", "ZapisButton"), Qt::LeftButton);
        QVERIFY(m_f->dir.isPresent("nowy.vq"));
        QVERIFY(m_values->isVisible());
        auto *list = control<QListWidget>("values", "ZapisPliki");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("nowy.vq"));
    }

    void doubleClickLoads_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("chooser") << "chooser";
        QTest::newRow("value files") << "values";
    }
    void doubleClickLoads()
    {
        QFETCH(QString, which);
        QVERIFY(m_f->folder.writeBytes("pomiar.vq", "konfig=xyz.set\r\n"));
        which == "chooser" ? openChooser() : openValues();
        auto *list =
            control<QListWidget>(which, which == "chooser" ? "PodgladPlikow" : "ZapisPliki");
        clickEntry(list, list->count() - 1, true);
        QVERIFY(!dialog(which)->isVisible());
        QCOMPARE(m_f->main.state().DescriptionFile, std::string("xyz.set"));
    }

    void readButtonLoadsTheSelectedDescription()
    {
        openChooser();
        auto *list = control<QListWidget>("chooser", "PodgladPlikow");
        clickEntry(list, 1);
        QTest::mouseClick(control<QPushButton>("chooser", "TypOdczyt"), Qt::LeftButton);
        QVERIFY(!m_chooser->isVisible());
        QCOMPARE(m_f->main.state().DescriptionFile, std::string("xyz.set"));
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL XYZ"));
    }

    void enterClicksTheFocusedButton_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("ANULUJ, Enter") << "chooser"
                                       << "TypAnuluj" << int(Qt::Key_Return) << false;
        QTest::newRow("ODCZYT, keypad Enter") << "chooser"
                                              << "TypOdczyt" << int(Qt::Key_Enter) << false;
        QTest::newRow("WYJŚCIE, Enter") << "values"
                                        << "ZapisAnuluj" << int(Qt::Key_Return) << false;
        QTest::newRow("ZAPISZ, keypad Enter") << "values"
                                              << "ZapisButton" << int(Qt::Key_Enter) << true;
        QTest::newRow("ZAPISZ disabled, Enter") << "values"
                                                << "ZapisButton" << int(Qt::Key_Return) << true;
    }
    void enterClicksTheFocusedButton()
    {
        QFETCH(QString, which);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, staysOpen);
        which == "chooser" ? openChooser() : openValues();
        const bool named = QByteArray(QTest::currentDataTag()).startsWith("ZAPISZ,");
        if (named)
            QTest::keyClicks(control<QLineEdit>("values", "EditPlikZapisu"), "nowy");
        auto *widget = control<QPushButton>(which, button.toLatin1().constData());
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(dialog(which)->isVisible(), staysOpen);
        QCOMPARE(m_f->dir.isPresent("nowy.vq"), named);
    }

    void fileListOpensWithoutACurrentRow_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("chooser") << "chooser";
        QTest::newRow("value files") << "values";
    }
    void fileListOpensWithoutACurrentRow()
    {
        QFETCH(QString, which);
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=abc.set\r\n"));
        which == "chooser" ? openChooser() : openValues();
        QWidget *window = dialog(which);
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *list =
            control<QListWidget>(which, which == "chooser" ? "PodgladPlikow" : "ZapisPliki");
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(list->selectedItems().isEmpty());
        // The focus shows on the list's frame: a ring at least 3:1 against the window's blue.
        const QColor ring =
            pixelAt(window->grab(), QPoint(list->geometry().center().x(), list->geometry().top()));
        const auto luminance = [](QColor c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        const double blue = luminance(QColor(1, 125, 195));
        QVERIFY2((std::max(blue, luminance(ring)) + 0.05) /
                         (std::min(blue, luminance(ring)) + 0.05) >=
                     3.0,
                 qPrintable(ring.name()));
        // Down still starts at the first row.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 0);
    }

    // Hovering every entry of both lists and walking them with the arrows changes nothing of
    // the window nor of the files.
    void lookingChangesNothing()
    {
        QVERIFY(m_f->folder.writeText("a.vq", "konfig=abc.set\nparametr1=15\nparametr2=-5\n"));
        QVERIFY(m_f->folder.writeText("b.vq", "konfig=xyz.set\nparametr1=230\n"));
        QVERIFY(m_f->folder.writeText("c.vq", "konfig=brak.set\nparametr2=7\n"));
        m_f->chooseDescription("abc.set");
        m_f->main.editEntry(0, "10");
        m_f->main.editEntry(1, "-5");
        m_f->main.choosePort(1);
        const QString before = windowState();
        const QStringList files = m_f->folder.snapshot();

        struct Look
        {
            const char *list;
            QStringList says; // by row
        };
        for (const Look &look :
             {Look{"PodgladPlikow",
                   {"abc.set (w użyciu)\nMODEL ABC\nKod urządzenia (ID): 1F",
                    "xyz.set\nMODEL XYZ\nKod urządzenia (ID): 2A"}},
              Look{"ZapisPliki",
                   {"1 z 8 wartości inna niż na ekranie\nOpis urządzenia: abc.set (w użyciu)\n"
                    "1. Ciśnienie: 15 (na ekranie 10)\n2. Temperatura: -5\n",
                    "1. Napięcie: 230 (na ekranie 10)", "Nie ma go w folderze"}}}) {
            const QString which = look.list == QLatin1String("ZapisPliki") ? "values" : "chooser";
            which == "chooser" ? openChooser() : openValues();
            QApplication::setActiveWindow(dialog(which));
            QVERIFY(QTest::qWaitForWindowActive(dialog(which)));
            auto *list = control<QListWidget>(which, look.list);
            QCOMPARE(list->count(), look.says.size());
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list);
            for (int row = 0; row < list->count(); ++row) {
                const QString tip = hover(list, row);
                QVERIFY2(tip.startsWith(look.says[row]) || tip.contains(look.says[row]),
                         qPrintable(tip));
                QTest::keyClick(list, Qt::Key_Down);
                QCOMPARE(list->currentRow(), row);
                QCOMPARE(list->currentItem()->data(Qt::AccessibleDescriptionRole).toString(), tip);
                QCOMPARE(accessible->child(row)->text(QAccessible::Description), tip);
            }
            QTest::keyClick(list, Qt::Key_Escape);
            QVERIFY(!dialog(which)->isVisible());
        }
        QCOMPARE(windowState(), before);
        QCOMPARE(m_f->folder.snapshot(), files);
        const StateRecord record = m_f->main.stateRecord();
        m_f->main.close();
        QCOMPARE(m_f->folder.bytes("sesja.dat"), utf8ToCp1250(formatStateRecord(record)));
        QVERIFY(m_f->platform.messages.empty());
    }

    // The note a screen reader hears for the entry under the arrows follows the screen.
    void noteFollowsTheScreen()
    {
        QVERIFY(m_f->folder.writeText("a.vq", "konfig=abc.set\nparametr1=15\n"));
        m_f->chooseDescription("abc.set");
        m_f->main.editEntry(0, "10");
        openValues();
        auto *list = control<QListWidget>("values", "ZapisPliki");
        list->setCurrentRow(0);
        const auto heard = [&] {
            return list->currentItem()->data(Qt::AccessibleDescriptionRole).toString();
        };
        QVERIFY2(heard().contains("15 (na ekranie 10)"), qPrintable(heard()));
        m_f->main.editEntry(0, "15");
        QVERIFY2(!heard().contains("na ekranie 10"), qPrintable(heard()));
    }

    // A file of random bytes, as large as a note reads, in the folder under both patterns.
    void binaryFileInTheFolder_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("says");
        QTest::newRow("chooser") << "chooser"
                                 << "binarny.set: nie ma żadnego klucza opisu urządzenia";
        QTest::newRow("value files") << "values"
                                     << "binarny.vq: nie ma żadnej wartości";
    }
    void binaryFileInTheFolder()
    {
        QFETCH(QString, which);
        QFETCH(QString, says);
        std::string bytes(256 * 1024, '\0');
        unsigned state = 7;
        for (char &byte : bytes)
            byte = char((state = state * 1103515245u + 12345u) >> 24);
        QVERIFY(m_f->folder.writeBytes("binarny.set", bytes));
        QVERIFY(m_f->folder.writeBytes("binarny.vq", bytes));
        which == "chooser" ? openChooser() : openValues();
        auto *list =
            control<QListWidget>(which, which == "chooser" ? "PodgladPlikow" : "ZapisPliki");
        const int row = list->row(list->findItems("binarny", Qt::MatchStartsWith).first());
        const QString tip = hover(list, row);
        QVERIFY2(tip.startsWith(says), qPrintable(tip));
        list->setCurrentRow(row);
        QCOMPARE(list->currentItem()->data(Qt::AccessibleDescriptionRole).toString(), tip);
        QVERIFY(dialog(which)->isVisible());
    }

    // ZAPISZ tells whether it replaces a file, and when that file last changed.
    void saveTellsWhatItReplaces()
    {
        QVERIFY(m_f->folder.writeBytes("pomiar.vq", "konfig=abc.set\r\n"));
        const QString changed = QFileInfo(m_f->folder.pathOf("pomiar.vq"))
                                    .lastModified()
                                    .toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        openValues();
        auto *name = control<QLineEdit>("values", "EditPlikZapisu");
        auto *save = control<QPushButton>("values", "ZapisButton");
        QVERIFY(hover(control<QListWidget>("values", "ZapisPliki"), 0)
                    .startsWith("pomiar.vq: nie ma żadnej wartości"));
        QTest::keyClicks(name, "pomiar");
        const QString replaces = "Zastąpi plik pomiar.vq (ostatnia zmiana " + changed + ").";
        QCOMPARE(save->toolTip(), replaces);
        QCOMPARE(QAccessible::queryAccessibleInterface(save)->text(QAccessible::Description),
                 replaces);
        QTest::keyClicks(name, "2");
        QCOMPARE(save->toolTip(), QString("Zapisze nowy plik pomiar2.vq."));
        QTest::keyClick(name, Qt::Key_Backspace);
        // The save itself asks nothing.
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(m_f->platform.messages.empty());
        QVERIFY(m_f->folder.bytes("pomiar.vq")->find("parametr1=") != std::string::npos);
        // Its note, read before the save, tells of the file as saved.
        QVERIFY2(hover(control<QListWidget>("values", "ZapisPliki"), 0)
                     .startsWith("Żaden parametr nie jest w użyciu\nOpis urządzenia: brak"),
                 qPrintable(QToolTip::text()));
    }

    void eachClosesTheOther()
    {
        openValues();
        openChooser();
        QVERIFY(m_chooser->isVisible());
        QVERIFY(!m_values->isVisible());
        openValues();
        QVERIFY(!m_chooser->isVisible());
        QVERIFY(m_values->isVisible());
    }
};

QTEST_MAIN(tst_DialogWidgets)
#include "tst_dialogwidgets.moc"
