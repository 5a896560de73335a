// The key schema against itself, against the built-in texts and against the windows that bind it:
// one sweep over every key instead of a test per key.

#include <QComboBox>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/frmSetup.h"

using namespace quorvant;
using namespace quorvant::test;

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
        frmSetup main(folder.Path(), fakes.Get());
        std::vector<std::unique_ptr<SettingsDialog>> dialogs;
        dialogs.emplace_back(new frmIntNews(folder.Path(), fakes.Get()));
        dialogs.emplace_back(new frmFloatNews(folder.Path(), fakes.Get()));
        dialogs.emplace_back(new frmFloatTime(folder.Path(), fakes.Get()));
        dialogs.emplace_back(new frmMultiJingles(folder.Path(), fakes.Get()));

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
        collect(main.KeyBindings(), "frmSetup");
        for (const auto& dialog : dialogs) collect(dialog->KeyBindings(), dialog->objectName());
        for (const schema::Key& key : schema::Keys())
            QVERIFY2(boundBy.contains(&key), qPrintable("[" + key.Section() + "] " + key.Name() + " bound by no window"));
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
            if (key.limits.digits > 0) QCOMPARE(line.value("highest").toInt(), key.limits.highest);
        }
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
