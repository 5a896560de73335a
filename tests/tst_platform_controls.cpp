#include <QAccessible>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>

#include "platform/ColourChooser.h"
#include "widgets/ColourPanel.h"
#include "platform/FolderChooser.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/SpinButton.h"

using namespace quorvant;

namespace {
// Runs `handle` on the modal dialog once it is shown; the dialog must be closed by `handle`.
void OnModal(std::function<void(QWidget*)> handle) {
    QTimer::singleShot(0, [handle] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        handle(modal);
        // A failed check returns early: close the dialog so the test goes on.
        if (modal && modal->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal.data())) dialog->reject();
        }
    });
}
}  // namespace

class TestPlatformControls : public QObject {
    Q_OBJECT

private slots:
    void ledDisplayText_data();
    void ledDisplayText();
    void ledStepping_data();
    void ledStepping();
    void ledOutOfLimitsValueKept();
    void ledKeysAndWheel_data();
    void ledKeysAndWheel();
    void ledTyping_data();
    void ledTyping();
    void ledAccessible_data();
    void ledAccessible();

    void spinButtonBounds_data();
    void spinButtonBounds();
    void spinButtonStepping();
    void spinButtonAccessible();

    void iconsFromTheThemeWhereItHasThem();
    void colourConversion_data();
    void colourConversion();
    void panelPaintsItsColours();

    void folderChooserCaptionsAndCancel();
    void folderChooserReturnsChosenFolder();
    void folderChooserMissingStartFolder();
    void colourChooserKeepsColour();
};

void TestPlatformControls::ledDisplayText_data() {
    QTest::addColumn<int>("digits");
    QTest::addColumn<bool>("zeroBlank");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("blanked") << 2 << true << 5 << " 5";
    QTest::newRow("zeros") << 2 << false << 5 << "05";
    QTest::newRow("zero blanked keeps one digit") << 3 << true << 0 << "  0";
    QTest::newRow("zero with zeros") << 3 << false << 0 << "000";
    QTest::newRow("wider than digits") << 2 << false << 100 << "100";
    QTest::newRow("negative blanked") << 3 << true << -5 << " -5";
    QTest::newRow("negative zeros") << 3 << false << -5 << "-005";
    QTest::newRow("full width") << 4 << true << 9990 << "9990";
}

void TestPlatformControls::ledDisplayText() {
    QFETCH(int, digits);
    QFETCH(bool, zeroBlank);
    QFETCH(int, value);
    QFETCH(QString, text);
    LedSpin spin;
    spin.Configure(digits, 0, 9999, 1, 0, zeroBlank);
    spin.SetValue(value);
    QCOMPARE(spin.text(), text);
}

void TestPlatformControls::ledStepping_data() {
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expected");
    QTest::newRow("up") << 0 << 100 << 1 << 5 << 1 << 6;
    QTest::newRow("down") << 0 << 100 << 1 << 5 << -1 << 4;
    QTest::newRow("step ten") << 0 << 9999 << 10 << 20 << 3 << 50;
    QTest::newRow("stops at highest") << 0 << 100 << 10 << 95 << 1 << 100;
    QTest::newRow("stops at lowest") << 0 << 100 << 10 << 5 << -1 << 0;
    QTest::newRow("above: up goes to highest") << 0 << 100 << 1 << 150 << 1 << 100;
    QTest::newRow("above: down goes to highest") << 0 << 100 << 1 << 150 << -1 << 100;
    QTest::newRow("below: down goes to lowest") << 0 << 59 << 1 << -7 << -1 << 0;
    QTest::newRow("below: up goes to lowest") << 0 << 59 << 1 << -7 << 5 << 0;
    QTest::newRow("off the step grid") << 0 << 9999 << 10 << 7 << 1 << 17;
}

void TestPlatformControls::ledStepping() {
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(int, step);
    QFETCH(int, initial);
    QFETCH(int, steps);
    QFETCH(int, expected);
    LedSpin spin;
    spin.Configure(3, lowest, highest, step, 0);
    spin.SetValue(initial);
    QSignalSpy changed(&spin, &LedSpin::valueChanged);
    spin.stepBy(steps);
    QCOMPARE(spin.Value(), expected);
    QCOMPARE(changed.count(), expected == initial ? 0 : 1);
    if (expected != initial) QCOMPARE(changed.first().first().toInt(), expected);
}

void TestPlatformControls::ledOutOfLimitsValueKept() {
    LedSpin spin;
    spin.Configure(3, 0, 100, 1, 0);
    QSignalSpy changed(&spin, &LedSpin::valueChanged);
    spin.SetValue(150);
    QCOMPARE(spin.Value(), 150);
    QCOMPARE(spin.text(), QString("150"));
    QCOMPARE(changed.count(), 1);
    spin.SetRange(0, 50);
    QCOMPARE(spin.Value(), 150);
    spin.SetValue(100);
    QCOMPARE(spin.Value(), 100);
    spin.SetValue(100);  // no change, no signal
    QCOMPARE(changed.count(), 2);
}

void TestPlatformControls::ledKeysAndWheel_data() {
    QTest::addColumn<int>("key");  // 0: wheel up, -1: wheel down
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("expected");
    QTest::newRow("Up") << int(Qt::Key_Up) << 5 << 6;
    QTest::newRow("Down") << int(Qt::Key_Down) << 5 << 4;
    QTest::newRow("Down at lowest") << int(Qt::Key_Down) << 0 << 0;
    QTest::newRow("Up at highest") << int(Qt::Key_Up) << 59 << 59;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 5 << 15;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 25 << 15;
    QTest::newRow("PageUp near highest") << int(Qt::Key_PageUp) << 55 << 59;
    QTest::newRow("Up from above") << int(Qt::Key_Up) << 80 << 59;
    QTest::newRow("Down from below") << int(Qt::Key_Down) << -4 << 0;
    QTest::newRow("PageDown from above") << int(Qt::Key_PageDown) << 80 << 59;
    QTest::newRow("wheel up") << 0 << 5 << 6;
    QTest::newRow("wheel down") << -1 << 5 << 4;
}

void TestPlatformControls::ledKeysAndWheel() {
    QFETCH(int, key);
    QFETCH(int, initial);
    QFETCH(int, expected);
    QWidget window;
    auto* spin = new LedSpin(&window);
    spin->Configure(2, 0, 59, 1, initial);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    spin->setFocus();
    if (key > 0) {
        QTest::keyClick(spin, Qt::Key(key));
    } else {
        const QPoint pos = spin->rect().center();
        QWheelEvent wheel(pos, spin->mapToGlobal(pos), QPoint(), QPoint(0, key == 0 ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(spin, &wheel);
    }
    QCOMPARE(spin->Value(), expected);
}

void TestPlatformControls::ledTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("within limits") << "42" << 42 << " 42";
    QTest::newRow("highest") << "100" << 100 << "100";
    QTest::newRow("above highest refused") << "150" << 7 << "  7";
    QTest::newRow("through a valid value to an invalid one") << "1000" << 7 << "  7";
    QTest::newRow("negative refused") << "-3" << 7 << "  7";
    QTest::newRow("letters refused") << "ab" << 7 << "  7";
    QTest::newRow("emptied") << "" << 7 << "  7";
}

void TestPlatformControls::ledTyping() {
    QFETCH(QString, typed);
    QFETCH(int, expected);
    QFETCH(QString, shown);
    QWidget window;
    auto* spin = new LedSpin(&window);
    spin->Configure(3, 0, 100, 1, 7);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, typed);
    QCOMPARE(spin->Value(), expected);  // already while the text stands, e.g. for a save pressed now
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(spin->Value(), expected);
    QCOMPARE(spin->text(), shown);
}

void TestPlatformControls::ledAccessible_data() {
    QTest::addColumn<int>("stored");  // what the file gave
    QTest::addColumn<int>("asked");   // what a screen reader's value setter asks for
    QTest::addColumn<int>("expected");
    QTest::newRow("within") << 42 << 17 << 17;
    QTest::newRow("above highest") << 42 << 75 << 59;
    QTest::newRow("below lowest") << 42 << -5 << 0;
    QTest::newRow("from a stored value above") << 80 << 70 << 59;
    QTest::newRow("from a stored value above, asked within") << 80 << 30 << 30;
}

void TestPlatformControls::ledAccessible() {
    QFETCH(int, stored);
    QFETCH(int, asked);
    QFETCH(int, expected);
    QWidget window;
    auto* label = new QLabel("&Minuten", &window);
    auto* spin = new LedSpin(&window);
    label->setBuddy(spin);
    spin->Configure(2, 0, 59, 1, 0);
    spin->SetValue(stored);
    QCOMPARE(spin->Value(), stored);  // the program's own value stays as read
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(spin);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), QString("Minuten"));
    QAccessibleValueInterface* value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), stored);
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 59);
    value->setCurrentValue(asked);
    QCOMPARE(spin->Value(), expected);
    QCOMPARE(spin->text().trimmed(), QString::number(expected));
    // Text put in through the accessible text interface goes through the same limits.
    if (QAccessibleEditableTextInterface* text = iface->editableTextInterface()) {
        text->replaceText(0, spin->text().size(), QString::number(asked));
        spin->clearFocus();
        emit spin->editingFinished();
        QVERIFY2(spin->Value() >= 0 && spin->Value() <= 59, qPrintable(QString::number(spin->Value())));
    }
}

void TestPlatformControls::spinButtonBounds_data() {
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside") << -1 << 3 << 2 << 2;
    QTest::newRow("above") << -1 << 3 << 7 << 3;
    QTest::newRow("below") << -1 << 3 << -5 << -1;
    QTest::newRow("no devices: only the default") << -1 << -1 << 0 << -1;
}

void TestPlatformControls::spinButtonBounds() {
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(int, set);
    QFETCH(int, expected);
    SpinButton spin;
    spin.SetLowest(lowest);
    spin.SetHighest(highest);
    spin.SetValue(set);
    QCOMPARE(spin.Value(), expected);
}

void TestPlatformControls::spinButtonStepping() {
    QWidget window;
    auto* spin = new SpinButton(&window);
    spin->SetLowest(-1);
    spin->SetHighest(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(spin->Value(), 0);  // its own start value
    QSignalSpy stepped(spin, &SpinButton::stepped);

    QTest::mouseClick(spin->findChild<QToolButton*>("up"), Qt::LeftButton);
    QTest::mouseClick(spin->findChild<QToolButton*>("up"), Qt::LeftButton);  // at the bound: reported anyway
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::mouseClick(spin->findChild<QToolButton*>("down"), Qt::LeftButton);
    QList<int> values;
    for (const auto& args : stepped) values.append(args.first().toInt());
    QCOMPARE(values, (QList<int>{1, 1, 0, -1, -1, -1}));
    QCOMPARE(spin->Value(), -1);
}

void TestPlatformControls::spinButtonAccessible() {
    SpinButton spin;
    spin.setAccessibleName("Automaat");
    spin.SetLowest(-1);
    spin.SetHighest(2);
    spin.SetValue(2);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&spin);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), QString("Automaat"));
    QVERIFY(iface->valueInterface());
    QCOMPARE(iface->valueInterface()->currentValue().toInt(), 2);
    QCOMPARE(iface->valueInterface()->minimumValue().toInt(), -1);
    QCOMPARE(spin.findChild<QToolButton*>("up")->accessibleName(), QString("Omhoog"));
    QCOMPARE(spin.findChild<QToolButton*>("down")->accessibleName(), QString("Omlaag"));
    QCOMPARE(spin.focusPolicy(), Qt::StrongFocus);
}

void TestPlatformControls::iconsFromTheThemeWhereItHasThem() {
    // A desktop theme that has a save icon but no exit icon.
    QTemporaryDir themes;
    QDir(themes.path()).mkpath("probe/32x32/actions");
    QFile index(themes.path() + "/probe/index.theme");
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=probe\nDirectories=32x32/actions\n\n[32x32/actions]\nSize=32\nType=Fixed\n");
    index.close();
    QPixmap green(32, 32);
    green.fill(Qt::green);
    QVERIFY(green.save(themes.path() + "/probe/32x32/actions/document-save.png"));
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldTheme = QIcon::themeName();
    const QStringList oldFallback = QIcon::fallbackSearchPaths();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName("probe");

    const QIcon save = IconResource(103);
    const QIcon leave = IconResource(101);
    QCOMPARE(save.name(), QString("document-save"));
    QCOMPARE(save.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::green));
    // No theme icon: our own drawing, at every size a button asks for.
    QVERIFY(leave.name().isEmpty());
    QVERIFY(!leave.isNull());
    QVERIFY(!leave.pixmap(32, 32).isNull());
    // Dimmed on a disabled button, as the style dims any picture.
    QVERIFY(leave.pixmap(32, 32, QIcon::Disabled).toImage() != leave.pixmap(32, 32).toImage());

    QIcon::setThemeName(oldTheme);
    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setFallbackSearchPaths(oldFallback);
}

void TestPlatformControls::colourConversion_data() {
    QTest::addColumn<qint32>("bgr");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("roundTrip");
    QTest::newRow("black") << qint32(0) << QColor(0, 0, 0) << true;
    QTest::newRow("red") << qint32(255) << QColor(255, 0, 0) << true;
    QTest::newRow("green") << qint32(65280) << QColor(0, 255, 0) << true;
    QTest::newRow("blue") << qint32(16711680) << QColor(0, 0, 255) << true;
    QTest::newRow("white") << qint32(16777215) << QColor(255, 255, 255) << true;
    QTest::newRow("mixed") << qint32(0x00345678) << QColor(0x78, 0x56, 0x34) << true;
    QTest::newRow("top byte ignored") << qint32(0x12345678) << QColor(0x78, 0x56, 0x34) << false;
    QTest::newRow("negative") << qint32(-1) << QColor(255, 255, 255) << false;
}

void TestPlatformControls::colourConversion() {
    QFETCH(qint32, bgr);
    QFETCH(QColor, color);
    QFETCH(bool, roundTrip);
    QCOMPARE(ColourPanel::ToColor(bgr), color);
    if (roundTrip) QCOMPARE(ColourPanel::FromColor(color), bgr);
    ColourPanel panel;
    panel.SetBackColour(bgr);
    QCOMPARE(panel.BackColour(), bgr);  // the number as given, for a save
}

void TestPlatformControls::panelPaintsItsColours() {
    ColourPanel panel;
    panel.SetCaption("TIJDSEIN");
    panel.SetBackColour(16711680);
    panel.SetTextColour(255);
    panel.SetBold(true);
    panel.SetLowered(true);
    panel.resize(200, 40);
    const QImage image = panel.grab().toImage();
    QCOMPARE(QColor(image.pixel(panel.contentsRect().topLeft() + QPoint(2, 2))), QColor(0, 0, 255));
    bool textDrawn = false;
    for (int y = 0; y < image.height() && !textDrawn; ++y)
        for (int x = 0; x < image.width() && !textDrawn; ++x) textDrawn = QColor(image.pixel(x, y)).red() > 200;
    QVERIFY(textDrawn);
    QCOMPARE(panel.accessibleName(), QString("TIJDSEIN"));
}

void TestPlatformControls::folderChooserCaptionsAndCancel() {
    QTemporaryDir dir;
    QtFolderChooser chooser;
    bool checked = false;
    OnModal([&](QWidget* modal) {
        auto* dialog = modal->findChild<QFileDialog*>();
        QVERIFY(dialog);
        QCOMPARE(modal->findChild<QLabel*>("promptLabel")->text(), QString("Geef de locatie op"));
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QCOMPARE(buttons->button(QDialogButtonBox::Open) ? buttons->button(QDialogButtonBox::Open)->text()
                                                         : dialog->labelText(QFileDialog::Accept),
                 QString("&OK"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QString("&Annuleer"));
        auto* newFolder = dialog->findChild<QToolButton*>("newFolderButton");
        QCOMPARE(newFolder->toolTip(), QString("Nieuw"));
        QCOMPARE(newFolder->accessibleName(), QString("Nieuw"));
        checked = true;
        buttons->button(QDialogButtonBox::Cancel)->click();
    });
    const auto result = chooser.Browse(nullptr, "Geef de locatie op", dir.path(), {"&OK", "&Nieuw", "&Annuleer"});
    QVERIFY(checked);
    QVERIFY(!result);
}

void TestPlatformControls::folderChooserReturnsChosenFolder() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("audio");
    QtFolderChooser chooser;
    OnModal([&](QWidget* modal) {
        auto* dialog = modal->findChild<QFileDialog*>();
        QVERIFY(dialog);
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = chooser.Browse(nullptr, "Kies", dir.path() + "/audio", {"&OK", "&Nieuw", "&Annuleer"});
    QVERIFY(result);
    QCOMPARE(QDir(*result).canonicalPath(), QDir(dir.path() + "/audio").canonicalPath());
}

void TestPlatformControls::folderChooserMissingStartFolder() {
    QTemporaryDir dir;
    QtFolderChooser chooser;
    OnModal([&](QWidget* modal) {
        auto* dialog = modal->findChild<QFileDialog*>();
        QVERIFY(dialog);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        dialog->reject();
    });
    QVERIFY(!chooser.Browse(nullptr, "Kies", dir.path() + "/weg/ook weg", {"&OK", "&Nieuw", "&Annuleer"}));
}

void TestPlatformControls::colourChooserKeepsColour() {
    QtColourChooser chooser;
    QCOMPARE(chooser.CurrentColour(), 0);
    chooser.SetFlags(4);
    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->currentColor(), QColor(Qt::black));
        // Only the grid of basic colours: the part for defining colours stays closed.
        bool pickerShown = false;
        for (QWidget* child : dialog->findChildren<QWidget*>())
            if (QByteArray(child->metaObject()->className()) == "QColorPicker") pickerShown = child->isVisible();
        QVERIFY(!pickerShown);
        dialog->setCurrentColor(QColor(0, 0, 255));
        dialog->accept();
    });
    QCOMPARE(chooser.Choose(nullptr), std::optional<qint32>(16711680));
    QCOMPARE(chooser.CurrentColour(), 16711680);

    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->currentColor(), QColor(0, 0, 255));  // kept from the last opening
        dialog->setCurrentColor(Qt::red);
        dialog->reject();
    });
    QCOMPARE(chooser.Choose(nullptr), std::nullopt);
    QCOMPARE(chooser.CurrentColour(), 16711680);

    chooser.SetFlags(0);
    OnModal([](QWidget* modal) {
        bool pickerShown = false;
        for (QWidget* child : modal->findChildren<QWidget*>())
            if (QByteArray(child->metaObject()->className()) == "QColorPicker") pickerShown = child->isVisible();
        QVERIFY(pickerShown);
        qobject_cast<QDialog*>(modal)->reject();
    });
    QCOMPARE(chooser.Choose(nullptr), std::nullopt);
}

QTEST_MAIN(TestPlatformControls)
#include "tst_platform_controls.moc"
