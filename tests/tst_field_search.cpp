// Finding a setting from the main window, what the status line tells about the focused field, and
// the field's menu: its default and its own history.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "schema/KeySchema.h"
#include "settings/History.h"
#include "support/WindowFixture.h"
#include "text/Messages.h"
#include "windows/dialogs/SettingsDialog.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/main_window/SettingSearch.h"
#include "windows/shared/CheckMarks.h"
#include "windows/shared/FieldHelp.h"
#include "windows/shared/StatusLine.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QByteArray kServerIni = "[Sequencer]\r\nLatency=120\r\n[program]\r\nLogin=3\r\n";
const QByteArray kNewsIni = "[NatNieuws]\r\nTijd=300\r\n[Item1]\r\nTijd=40\r\n[Weer]\r\nFile=regen.mp3\r\n";

// The section a key is looked for in: a news item whose every field is shown, else the first.
QString SectionFor(const schema::Key& key) {
    return schema::SectionNames(key.section).value(key.window == schema::Window::IntNews ? 5 : 0);
}

// The window, or open dialog, that shows the key, and its binding there.
const Binding* BindingOf(frmSetup& window, const schema::Key& key, FieldHelp** help, StatusLine** line) {
    if (key.window == schema::Window::Setup) {
        *help = window.fieldHelp, *line = window.statusLine;
        return window.KeyBindings().Of(key);
    }
    SettingsDialog* dialog = window.DialogOf(key.window);
    if (!dialog) return nullptr;
    *help = dialog->fieldHelp, *line = dialog->statusLine;
    return dialog->KeyBindings().Of(key);
}

// Remembers for the test what the window asked to keep.
struct KeptPreferences : Preferences {
    QHash<QString, bool> flags;
    bool Flag(const QString& name) const override { return flags.value(name); }
    void SetFlag(const QString& name, bool on) override { flags[name] = on; }
};

QStringList ActionTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

}  // namespace

class FieldSearchTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;

private slots:
    void initTestCase() {
        f = std::make_unique<WindowFixture>(kServerIni);
        f->folder.Write("news.ini", kNewsIni);
        f->window->LeesNews();
        f->window->show();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
    }

    // Every key of the schema: "[Section] Key" finds its field first and alone, Enter focuses it,
    // and the status line then tells its place, limits and default.
    void everyKeyFoundAndExplained_data() {
        QTest::addColumn<int>("index");
        for (const schema::Key& key : schema::Keys())
            QTest::newRow(qPrintable(FieldHelp::KeyName(key, SectionFor(key)))) << schema::IndexOf(key);
    }
    void everyKeyFoundAndExplained() {
        QFETCH(int, index);
        const schema::Key& key = schema::Keys()[index];
        const QString name = FieldHelp::KeyName(key, SectionFor(key));
        SettingSearch& search = *f->window->txtSearch;
        f->window->activateWindow();  // back from the dialog the row before opened
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        QTest::keyClick(f->window.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(search.hasFocus());
        search.setText(name);
        QVERIFY(!search.Results().isEmpty());
        QCOMPARE(search.Results().first().key, &key);
        QCOMPARE(search.Results().first().section, SectionFor(key));
        QVERIFY(search.Results().size() == 1 || search.Results().at(1).score < search.Results().first().score);
        QTest::keyClick(search.List()->isVisible() ? static_cast<QWidget*>(search.List()) : &search, Qt::Key_Return);

        FieldHelp* help = nullptr;
        StatusLine* line = nullptr;
        const Binding* binding = BindingOf(*f->window, key, &help, &line);
        QVERIFY(binding && binding->Field());
        QWidget* field = FocusTargetOf(*binding);
        QTRY_VERIFY(field->window()->focusWidget() == field || field->isAncestorOf(field->window()->focusWidget()));
        QTRY_VERIFY2(line->HelpText().contains(name), qPrintable(line->HelpText()));
        const QString unit = schema::UnitText(key);
        if (key.hasLimits)
            QVERIFY2(line->HelpText().contains(msg::FieldLimits(FieldHelp::ValueText(key, key.limits.lowest),
                                                                FieldHelp::ValueText(key, key.limits.highest), unit,
                                                                key.limits.step)),
                     qPrintable(line->HelpText()));
        if (key.hasDefault)
            QVERIFY2(line->HelpText().contains(msg::FieldDefault(QString("%1 %2").arg(key.fallback).arg(unit).trimmed())),
                     qPrintable(line->HelpText()));
    }

    // A news item's mix point is found by a word of its key, in every item, with the file's value.
    void wordFindsDialogKeys() {
        f->window->txtSearch->setText("Latency");
        QCOMPARE(f->window->txtSearch->Results().first().caption, QString("Systeemtraagheid"));
        f->window->txtSearch->setText("Tijd");
        QStringList found;
        for (const SearchEntry& entry : f->window->txtSearch->Results())
            if (entry.key->name == QLatin1String("Tijd")) found << entry.section + "=" + entry.value;
        QVERIFY2(found.size() == 10 && found.contains("NatNieuws=300"), qPrintable(found.join(' ')));
        QVERIFY(f->window->txtSearch->List()->isVisible());
        QVERIFY(!f->window->txtSearch->Highlighted().isEmpty());
        QTest::keyClick(f->window->txtSearch, Qt::Key_Escape);
        QTest::keyClick(f->window->txtSearch, Qt::Key_Escape);
        QVERIFY(f->window->txtSearch->text().isEmpty() && f->window->txtSearch->Highlighted().isEmpty());
    }

    // "Standaardwaarde gebruiken" on every field that has a default: the save writes the default.
    void useDefaultWritesIt() {
        QList<const Binding*> reset;
        for (const Binding& binding : f->window->KeyBindings().All())
            if (binding.key->hasDefault && !binding.key->Has(schema::ReadOnly) && binding.key->file == schema::File::Server)
                reset << &binding;
        QVERIFY(reset.size() > 10);
        for (const Binding* binding : reset) f->window->fieldHelp->UseDefault(*binding);
        QVERIFY(f->window->statusLine->Edits().Dirty());
        QVERIFY(f->window->cmdSave_Click());
        for (const Binding* binding : reset)
            QCOMPARE(f->Saved(binding->key->Section(), binding->key->WriteName()), QString::number(binding->key->fallback));
    }

    // "Geschiedenis van dit veld": only the saves that changed the key, each with the value it
    // gave; "Zet deze waarde terug" puts the older one back.
    void fieldHistory() {
        const QString file = f->folder.File("server.ini");
        const schema::Key& latency = schema::Find(schema::File::Server, "Sequencer", "Latency");
        for (int value : {200, 300}) {
            f->window->KeyBindings().Of(latency)->read(QString::number(value));
            QVERIFY(f->window->cmdSave_Click());
        }
        // A save of another key only.
        f->window->KeyBindings().Of(schema::Find(schema::File::Server, "program", "Login"))->read("5");
        QVERIFY(f->window->cmdSave_Click());

        frmHistory* history = ShowFieldHistory(file, "Sequencer", "Latency", f->fakes.Get(), f->window.get());
        QTRY_VERIFY(!history->Reading());
        QStringList shown;
        for (int i = 0; i < history->lstVersions->topLevelItemCount(); ++i)
            if (!history->lstVersions->topLevelItem(i)->isHidden()) shown << history->lstVersions->topLevelItem(i)->text(5);
        QCOMPARE(shown, (QStringList{"300", "200", "0"}));
        QVERIFY(history->windowTitle().contains("[Sequencer] Latency"));
        QVERIFY(history->cmdRestoreValue->isEnabled());
        f->fakes.errors.answer = true;  // the restore asks first
        QVERIFY(history->cmdRestoreValue_Click());  // the newest change undone: 300 goes, 200 is back
        QCOMPARE(IniValueInFile(file, "Sequencer", "Latency"), QString("200"));
        QCOMPARE(IniValueInFile(file, "program", "Login"), QString("5"));
        history->close();
    }
    // The best match first: the whole key, the key name, a caption's start before a part of it,
    // then sections, pages and values; every word must match somewhere.
    void ranking_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("first");  // "[Section] Key" of the first result; empty: none
        QTest::newRow("key name") << "latency" << "[Sequencer] Latency";
        QTest::newRow("caption start") << "systeemtr" << "[Sequencer] Latency";
        QTest::newRow("section and key") << "sequencer LATENCY" << "[Sequencer] Latency";
        QTest::newRow("two words anywhere") << "weer mixpunt" << "[Weer] Tijd";
        QTest::newRow("a value") << "regen.mp3" << "[Weer] File";
        QTest::newRow("nothing") << "qqqq" << "";
    }
    void ranking() {
        QFETCH(QString, query);
        QFETCH(QString, first);
        const QList<SearchEntry> found = Ranked(f->window->SearchEntries(), query);
        QCOMPARE(found.isEmpty() ? QString() : FieldHelp::KeyName(*found.first().key, found.first().section), first);
    }

    // The status line's help: the file's text where the field shows another, nothing after a save,
    // and a marked field's reason first.
    void helpTellsTheFile_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("key");    // of [Sequencer], or "Faders PresLevel"
        QTest::addColumn<QString>("edit");   // read into the field before; "save": saved after 200
        QTest::addColumn<QString>("told");   // part of the help; empty: the file is not mentioned
        const QByteArray latency = "[Sequencer]\r\nLatency=120\r\n";
        QTest::newRow("as read") << latency << "Latency" << "" << "";
        QTest::newRow("edited") << latency << "Latency" << "200" << msg::FieldInFile("120");
        QTest::newRow("edited, saved") << latency << "Latency" << "save" << "";
        QTest::newRow("empty in the file") << QByteArray("[Sequencer]\r\nLatency=\r\n") << "Latency" << "" << msg::FieldInFile("");
        QTest::newRow("not in the file") << QByteArray() << "Latency" << "" << msg::FieldNotInFile();
        QTest::newRow("marked") << QByteArray("[Faders]\r\nPresLevel=1500\r\n") << "Faders PresLevel" << "" << "";
    }
    void helpTellsTheFile() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, key);
        QFETCH(QString, edit);
        QFETCH(QString, told);
        WindowFixture w(ini.isEmpty() ? QByteArray("[Files]\r\n") : ini);
        const QStringList place = key.contains(' ') ? key.split(' ') : QStringList{"Sequencer", key};
        const Binding& binding = *w.window->KeyBindings().Of(schema::Find(schema::File::Server, place[0], place[1]));
        if (!edit.isEmpty()) binding.read(edit == "save" ? "200" : edit);
        if (edit == "save") QVERIFY(w.window->cmdSave_Click());
        w.window->statusLine->Edits().Check();
        const QString help = w.window->fieldHelp->HelpFor(binding);
        if (place[1] == "PresLevel")
            QVERIFY2(help.startsWith(w.window->checkMarks->MarkOf(binding.Field())) && help.contains("1500"), qPrintable(help));
        else if (told.isEmpty())
            QVERIFY2(!help.contains(msg::FieldNotInFile()) && !help.contains(msg::FieldInFile("").chopped(2)), qPrintable(help));
        else
            QVERIFY2(help.contains(told), qPrintable(help));
    }

    // The menu reaches a field from the text box inside it, by Shift+F10 and by the mouse; a button
    // is no field.
    void fieldMenuFromItsTextBox_data() {
        QTest::addColumn<QString>("key");   // "Section Key" of server.ini; empty: the save button
        QTest::addColumn<QString>("how");   // "Shift+F10", "mouse"
        QTest::newRow("Shift+F10 in a spin's text box") << "Sequencer Latency" << "Shift+F10";
        QTest::newRow("mouse on a list's text box") << "Sequencer PanicGenre" << "mouse";
        QTest::newRow("Shift+F10 on the save button") << "" << "Shift+F10";
    }
    void fieldMenuFromItsTextBox() {
        QFETCH(QString, key);
        QFETCH(QString, how);
        frmSetup& window = *f->window;
        const QStringList place = key.split(' ');
        const Binding* binding =
            key.isEmpty() ? nullptr : window.KeyBindings().Of(schema::Find(schema::File::Server, place[0], place[1]));
        QWidget* field = binding ? binding->Field() : window.cmdSave;
        QWidget* target = binding ? field->findChild<QLineEdit*>() : field;
        QVERIFY(target);
        const QString name = binding ? FieldHelp::KeyName(*binding->key, place[0]) : QString();
        if (how == "Shift+F10") {
            QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(target, &event);
        }
        QMenu* menu = target->findChild<QMenu*>("mnuField");
        QCOMPARE(menu != nullptr, binding != nullptr);
        if (!menu) return;
        QVERIFY2(ActionTexts(menu).contains(msg::CopyKeyCaption(name)), qPrintable(ActionTexts(menu).join('|')));
        menu->close();
    }

    // The menu: the default where the key has one, the history, the key's name to copy; the
    // not-default marker, off at first, remembered when switched.
    void fieldMenuAndMarker() {
        TempProgramFolder folder;
        folder.Write("server.ini", kServerIni);
        FakeServices fakes;
        KeptPreferences kept;
        Services services = fakes.Get();
        services.preferences = &kept;
        ResetProgramState();
        frmSetup window(folder.Path(), services);
        const Binding& latency = *window.KeyBindings().Of(schema::Find(schema::File::Server, "Sequencer", "Latency"));
        const Binding& logPath = *window.KeyBindings().Of(schema::Find(schema::File::Server, "Files", "LogPath"));
        QMenu* menu = window.fieldHelp->BuildMenu(latency, latency.Field());
        const QStringList texts = ActionTexts(menu);
        QVERIFY2(texts.contains(msg::UseDefaultCaption("0 msec")) && texts.contains(msg::FieldHistoryCaption()),
                 qPrintable(texts.join('|')));
        for (QAction* action : menu->actions())
            if (action->text() == msg::CopyKeyCaption("[Sequencer] Latency")) action->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("[Sequencer] Latency"));
        QVERIFY(!ActionTexts(window.fieldHelp->BuildMenu(logPath, logPath.Field())).join('|').contains("Standaardwaarde"));

        QVERIFY(!window.fieldHelp->MarkingNotDefault() && window.fieldHelp->MarkedNotDefault().isEmpty());
        window.fieldHelp->MarkNotDefault(true);
        QVERIFY(window.fieldHelp->MarkedNotDefault().contains(latency.Field()));
        QVERIFY(kept.flags.value("MarkNotDefault"));
        window.fieldHelp->UseDefault(latency);
        QVERIFY(!window.fieldHelp->MarkedNotDefault().contains(latency.Field()));
        frmSetup again(folder.Path(), services);
        QVERIFY(again.fieldHelp->MarkingNotDefault());
    }
};

QTEST_MAIN(FieldSearchTest)
#include "tst_field_search.moc"
