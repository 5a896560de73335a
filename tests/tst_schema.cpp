// The key schema against itself, against the built-in texts and against the windows that bind it:
// one sweep over every key and every window instead of a test per key or per page.

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "schema/KeySchema.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/frmSetup.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QStringList kWindows = {"frmSetup",     "frmIntNews",      "frmFloatNews",
                              "frmFloatTime", "frmMultiJingles", "frmHistory"};

std::unique_ptr<QWidget> Open(const QString& window, const TempProgramFolder& folder, FakeServices& fakes) {
    const QString path = folder.Path();
    if (window == "frmSetup") return std::make_unique<frmSetup>(path, fakes.Get());
    if (window == "frmIntNews") return std::make_unique<frmIntNews>(path, fakes.Get(), 9);  // every control shown
    if (window == "frmFloatNews") return std::make_unique<frmFloatNews>(path, fakes.Get());
    if (window == "frmFloatTime") return std::make_unique<frmFloatTime>(path, fakes.Get());
    if (window == "frmMultiJingles") return std::make_unique<frmMultiJingles>(path, fakes.Get());
    return std::make_unique<frmHistory>(QStringList{folder.File("server.ini")}, fakes.Get(), nullptr);
}

const Bindings* BindingsOf(QWidget* window) {
    if (auto* main = qobject_cast<frmSetup*>(window)) return &main->KeyBindings();
    if (auto* dialog = qobject_cast<SettingsDialog*>(window)) return &dialog->KeyBindings();
    return nullptr;
}

QString Caption(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return qobject_cast<QGroupBox*>(w)->title();
}

// Shown when its window is: hidden by nothing but a tab page that is not in front.
bool Shown(QWidget* w, QWidget* window) {
    for (; w && w != window; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<QStackedWidget*>(w->parentWidget())) return false;
    return true;
}

}  // namespace

class TestSchema : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { LoadBuiltInTexts(); }

    // Defaults and starting values lie within the limits; every key has a caption the built-in
    // texts hold; every section's write order names each of its written keys exactly once.
    void declarationsAreWhole() {
        for (const schema::Key& key : schema::Keys()) {
            const QString name = schema::FileName(key.file) + " [" + key.Section() + "] " + key.Name();
            if (key.hasLimits) {
                QVERIFY2(key.limits.lowest <= key.limits.highest, qPrintable(name));
                if (key.hasDefault)
                    QVERIFY2(key.fallback >= key.limits.lowest && key.fallback <= key.limits.highest, qPrintable(name));
                if (key.limits.digits > 0)
                    QVERIFY2(key.initial >= key.limits.lowest && key.initial <= key.limits.highest, qPrintable(name));
            }
            QVERIFY2(!schema::LabelText(key).isEmpty(), qPrintable(name));
            for (int id : {key.caption.text, key.caption.group})
                if (id) QVERIFY2(!Text(id).isEmpty(), qPrintable(name + " text " + QString::number(id)));
            QVERIFY2(schema::Lookup(key.file, schema::SectionNames(key.section).constLast(), key.Name().toUpper()) == &key,
                     qPrintable(name));
        }
        for (const schema::Section& section : schema::Sections()) {
            QStringList written;
            for (const schema::Key& key : schema::KeysOf(section.file))
                if (&schema::SectionOf(key) == &section && !key.Has(schema::ReadOnly)) written << key.WriteName();
            QStringList order = schema::WriteOrder(section);
            QCOMPARE(QSet<QString>(order.begin(), order.end()).size(), order.size());
            order.sort();
            written.sort();
            QCOMPARE(order, written);
        }
    }

    // Every key is bound by exactly one window, the one the schema names; the control shows the
    // limits the schema gives and sits on the schema's page.
    void windowsBindEveryKeyOnce() {
        TempProgramFolder folder;
        FakeServices fakes;
        ResetProgramState();
        std::vector<std::unique_ptr<QWidget>> windows;
        for (const QString& name : kWindows) windows.push_back(Open(name, folder, fakes));
        auto& main = static_cast<frmSetup&>(*windows.front());

        QHash<const schema::Key*, QString> boundBy;
        const auto collect = [&](const Bindings& bindings, const QString& window) {
            for (const Binding& binding : bindings.All()) {
                const schema::Key& key = *binding.key;
                const QString name = "[" + key.Section() + "] " + key.Name();
                QVERIFY2(!boundBy.contains(&key), qPrintable(name + " bound twice"));
                boundBy.insert(&key, window);
                QCOMPARE(schema::WindowName(key.window), window);
                if (auto* spin = qobject_cast<LedSpin*>(binding.control)) {
                    QCOMPARE(spin->Lowest(), key.limits.lowest);
                    QCOMPARE(spin->Highest(), key.limits.highest);
                    QCOMPARE(spin->Step(), key.limits.step);
                    QCOMPARE(spin->Digits(), key.limits.digits);
                }
                auto* list = qobject_cast<QComboBox*>(binding.control);
                if (list && key.rule == schema::Rule::ListPosition) QCOMPARE(list->count(), key.limits.highest + 1);
                if (binding.control && key.tab != schema::Tab::None) {
                    QWidget* page = binding.control;
                    while (page && main.tabSetup->indexOf(page) < 0) page = page->parentWidget();
                    QVERIFY2(page, qPrintable(name + " is on no page"));
                    QCOMPARE(main.tabSetup->tabText(main.tabSetup->indexOf(page)), schema::PageText(key));
                }
            }
        };
        for (const auto& window : windows)
            if (const Bindings* bindings = BindingsOf(window.get())) collect(*bindings, window->objectName());
        for (const schema::Key& key : schema::Keys())
            QVERIFY2(boundBy.contains(&key), qPrintable("[" + key.Section() + "] " + key.Name() + " bound by no window"));
    }

    // One row per window: every control the keyboard reaches has a name of its own in the window and
    // every picture button words and a picture; every key's field is reached by the keyboard, its
    // label shows its caption and names it, its unit stands beside it and is told with it; and the
    // window takes its words from the language file (text `text`, marked, on `control`), or keeps
    // its fixed words where it has no text of the file (0).
    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<int>("text");
        QTest::addColumn<QString>("fixed");
        QTest::newRow("frmSetup") << "lblProcent" << QByteArray("text") << 148 << QString();  // PresLevel's unit
        QTest::newRow("frmIntNews") << "cmdSave" << QByteArray("toolTip") << 279 << QString();
        QTest::newRow("frmFloatNews") << "frmFloatNews" << QByteArray("windowTitle") << 0 << "Vlottend Nieuws";
        QTest::newRow("frmFloatTime") << "frmFloatTime" << QByteArray("windowTitle") << 309 << QString();
        QTest::newRow("frmMultiJingles") << "frmMultiJingles" << QByteArray("windowTitle") << 310 << QString();
        QTest::newRow("frmHistory") << "cmdStop" << QByteArray("toolTip") << 0 << "Verlaat dit scherm";
    }
    void everyControlIsNamed() {
        QFETCH(QString, control);
        QFETCH(QByteArray, property);
        QFETCH(int, text);
        QFETCH(QString, fixed);
        TempProgramFolder folder;
        QByteArray language = ReadFile(QUORVANT_SOURCE_DIR "/resources/quorvant.lng");
        const QByteArray line = "\n" + QByteArray::number(text) + "=";
        if (text) language.insert(language.indexOf('\n', language.indexOf(line) + 1), " *");
        folder.Write("quorvant.lng", language);
        FakeServices fakes;
        ResetProgramState();
        LaadTaal(folder.Path());  // as the program's start does before any window opens
        const std::unique_ptr<QWidget> window = Open(QTest::currentDataTag(), folder, fakes);

        QWidget* words = window->objectName() == control ? window.get() : window->findChild<QWidget*>(control);
        QCOMPARE(words->property(property).toString(), text ? Text(text) : fixed);
        if (text) QVERIFY(Text(text).endsWith(" *"));

        QHash<QString, QString> names;  // accessible name -> object name
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !Shown(w, window.get()) ||
                w->window() != window.get() || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(!names.contains(name), qPrintable(name + ": " + names.value(name) + ", " + w->objectName()));
            names.insert(name, w->objectName());
            if (auto* button = qobject_cast<QPushButton*>(w); button && button->text().isEmpty())
                QVERIFY2(!button->toolTip().isEmpty() && !button->icon().isNull(), qPrintable(w->objectName()));
        }
        const Bindings* bindings = BindingsOf(window.get());
        for (const Binding& b : bindings ? bindings->All() : QList<Binding>()) {
            const QString key = "[" + b.key->Section() + "] " + b.key->Name();
            QWidget* field = b.Field();
            QVERIFY2((field->focusPolicy() & Qt::TabFocus) || !field->findChildren<QAbstractButton*>().isEmpty(),
                     qPrintable(key));
            if (b.label) QCOMPARE(Caption(b.label), schema::LabelText(*b.key));
            if (auto* label = qobject_cast<QLabel*>(b.label)) QCOMPARE(label->buddy(), field);
            QCOMPARE(b.unit != nullptr, b.key->HasUnit());
            if (b.unit) QCOMPARE(Caption(b.unit), schema::UnitText(*b.key));
            if (b.unit) QCOMPARE(field->accessibleDescription(), schema::UnitText(*b.key));
            QCOMPARE(bindings->Of(*b.key), &b);
            QCOMPARE(bindings->Of(field)->Field(), field);
        }
    }

    // quorvant-ini --schema: one JSON object per key, in the schema's order, with its limits.
    void toolPrintsTheSchema() {
        QProcess tool;
        tool.start(QStringLiteral(QUORVANT_BUILD_DIR "/quorvant-ini"), {"--schema"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QList<QByteArray> lines = tool.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), qsizetype(schema::Keys().size()));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const schema::Key& key = schema::Keys()[std::size_t(i)];
            const QJsonObject line = QJsonDocument::fromJson(lines[i]).object();
            QCOMPARE(line.value("key").toString(), key.Name());
            QCOMPARE(line.value("caption").toString(), schema::CaptionText(key));
            QCOMPARE(line.value("unit").toString(), schema::UnitText(key));
            if (key.limits.digits > 0) QCOMPARE(line.value("highest").toInt(), key.limits.highest);
        }
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
