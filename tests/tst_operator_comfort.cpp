// What every window tells and lets the operator do beyond its settings: unsaved edits and saves in
// the status line, Ctrl+S, the Tab order and Esc, no frozen window while another program holds the
// folder, the genre list's state, leaving the main window with dialogs open, the time-signal lists'
// labels.
#include <QAccessible>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "settings/AtomicFile.h"
#include "settings/IniAccessor.h"
#include "support/Fakes.h"
#include "support/SystemFiles.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"
#include "widgets/Contrast.h"
#include "widgets/LedSpin.h"
#include "widgets/SpinButton.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/SoundCards.h"
#include "windows/main_window/TimeSignalBlock.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/StatusLine.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

QByteArray Fixture(const QString& name) { return ReadFile(QStringLiteral(QUORVANT_TEST_DATA "/untouched/") + name); }

// One window on a copy of a real program folder, with an edit the operator can make and undo.
struct Opened {
    QPointer<QWidget> window;
    StatusLine* status = nullptr;
    std::function<void()> edit;
    std::function<void()> undo;
    QPushButton* save = nullptr;  // what Ctrl+S presses
    QWidget* leave = nullptr;     // last in the Tab order
    QString file;                 // the file the save writes
};

using Open = std::function<Opened(const TempProgramFolder&, FakeServices&)>;

frmSetup* MainWindow(const TempProgramFolder& folder, FakeServices& fakes) {
    return new frmSetup(folder.Path(), fakes.Get());
}

Opened MainWindowEditing(const TempProgramFolder& folder, FakeServices& fakes, std::function<void(frmSetup*)> edit,
                         std::function<void(frmSetup*)> undo, const QString& file = "server.ini") {
    frmSetup* window = MainWindow(folder, fakes);
    return {window, window->statusLine, [=] { edit(window); }, [=] { undo(window); }, window->cmdSave,
            window->cmdStop, file};
}

// What stands in the way of the first save: a file without write permission (that save fails),
// or another program holding the folder until the status line says the save waits for it.
enum class Obstacle { None, ReadOnlyFile, FolderLocked };

struct Case {
    Open open;
    QString unsaved;      // the status line after the edit
    QString savedPrefix;  // after Ctrl+S; empty: the window closes on save
    QString place;        // the right of the status line: the folder or the file the window edits
    Obstacle obstacle = Obstacle::None;
};

}  // namespace

Q_DECLARE_METATYPE(Case)

class OperatorComfortTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetProgramState();
        SetLockWaitMs(5000);
    }

    void unsavedEditsAndSaves_data();
    void unsavedEditsAndSaves();
    void mainWindowNamesOtherWindowsWithEdits();
    void leavingWritesNothing();
    void tabOrder_data();
    void tabOrder();
    void noFrozenWindowWhileTheFolderIsLocked();
    void genreListState_data();
    void genreListState();
    void titleBarCloseLeavesDialogsWorking();
};

void OperatorComfortTest::unsavedEditsAndSaves_data() {
    QTest::addColumn<Case>("test");
    // Only what the save rewrote is named: the main window's untouched news.ini is not.
    const QString server = "Bewaard: server.ini (";
    const Open presLevel = [](const TempProgramFolder& f, FakeServices& s) {
        return MainWindowEditing(
            f, s, [](frmSetup* w) { w->Automation().ledPresLevel->stepBy(1); },
            [](frmSetup* w) { w->Automation().ledPresLevel->stepBy(-1); });
    };
    const Open schedule = [](const TempProgramFolder& f, FakeServices& s) {
        auto* w = new frmIntNews(f.Path(), s.Get(), 2);
        return Opened{w,        w->statusLine, [w] { w->ledMix->stepBy(1); },
                      [w] { w->ledMix->stepBy(-1); }, w->cmdSave, w->cmdStop, "news.ini"};
    };
    QTest::newRow("main window, Automatisatie")
        << Case{presLevel, "Niet bewaarde wijzigingen: Automatisatie", server, "Map: "};
    QTest::newRow("main window, grid of Extern Nieuws")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    return MainWindowEditing(
                        f, s, [](frmSetup* w) { w->News().grid->Box(2, 7)->click(); },
                        [](frmSetup* w) { w->News().grid->Box(2, 7)->click(); });
                },
                "Niet bewaarde wijzigingen: Extern Nieuws", server, "Map: "};
    QTest::newRow("main window, news.ini")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    return MainWindowEditing(
                        f, s, [](frmSetup* w) { w->News().txtNews->setText(w->News().txtNews->text() + "x"); },
                        [](frmSetup* w) { w->News().txtNews->setText(w->News().txtNews->text().chopped(1)); },
                        "news.ini");
                },
                "Niet bewaarde wijzigingen: Intern Nieuws", "Bewaard: news.ini (", "Map: "};
    QTest::newRow("main window, two pages")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    return MainWindowEditing(
                        f, s,
                        [](frmSetup* w) {
                            QComboBox* list = w->TimeSignal().cob62;
                            list->setCurrentIndex((list->currentIndex() + 1) % list->count());
                            w->Automation().ledLatency->stepBy(1);
                        },
                        [](frmSetup* w) {
                            w->Automation().ledLatency->stepBy(-1);
                            QComboBox* list = w->TimeSignal().cob62;
                            list->setCurrentIndex((list->currentIndex() + list->count() - 1) % list->count());
                        });
                },
                "Niet bewaarde wijzigingen: Automatisatie, Tijdseinblok", server, "Map: "};  // in page order
    QTest::newRow("news schedule")
        << Case{schedule, "Niet bewaarde wijzigingen", "Bewaard: news.ini (", "Bestand: news.ini"};
    QTest::newRow("jingle cards")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    s.waveOut.names = {"Kaart A", "Kaart B", "Kaart C"};
                    auto* w = new frmMultiJingles(f.Path(), s.Get());
                    return Opened{w,        w->statusLine, [w] { w->updKaart[1]->StepUp(); },
                                  [w] { w->updKaart[1]->StepDown(); }, w->cmdSave, w->cmdStop, "server.ini"};
                },
                "Niet bewaarde wijzigingen", "Bewaard: server.ini (", "Bestand: server.ini"};
    QTest::newRow("floating news (saves and closes)")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    auto* w = new frmFloatNews(f.Path(), s.Get());
                    return Opened{w,        w->statusLine, [w] { w->chkFeed2_0->click(); },
                                  [w] { w->chkFeed2_0->click(); }, w->cmdSave, w->cmdSave, "server.ini"};
                },
                "Niet bewaarde wijzigingen", QString(), "Bestand: server.ini"};
    QTest::newRow("floating time signal (saves and closes)")
        << Case{[](const TempProgramFolder& f, FakeServices& s) {
                    auto* w = new frmFloatTime(f.Path(), s.Get());
                    return Opened{w,        w->statusLine, [w] { w->grid->ToggleDayRow(3); },
                                  [w] { w->grid->ToggleDayRow(3); }, w->cmdStop, w->cmdStop, "server.ini"};
                },
                "Niet bewaarde wijzigingen", QString(), "Bestand: server.ini"};
    QTest::newRow("main window, server.ini read-only at first")
        << Case{presLevel, "Niet bewaarde wijzigingen: Automatisatie", server, "Map: ", Obstacle::ReadOnlyFile};
    QTest::newRow("news schedule, folder held by another program at first")
        << Case{schedule, "Niet bewaarde wijzigingen", "Bewaard: news.ini (", "Bestand: news.ini",
                Obstacle::FolderLocked};
}

void OperatorComfortTest::unsavedEditsAndSaves() {
    QFETCH(Case, test);
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    folder.Write("news.ini", Fixture("news-utf8-crlf.ini"));
    FakeServices fakes;
    Opened opened = test.open(folder, fakes);
    QVERIFY(opened.window);
    opened.window->show();
    opened.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(opened.window));
    const QByteArray before = folder.Read(opened.file);

    QCOMPARE(opened.status->Text(), QString());  // as read: nothing to say
    opened.edit();
    QCOMPARE(opened.status->Text(), test.unsaved);
    QVERIFY(opened.status->isVisible());
    opened.undo();
    QCOMPARE(opened.status->Text(), QString());  // the same values again: nothing unsaved
    QCOMPARE(folder.Read(opened.file), before);  // and nothing written for knowing it

    QVERIFY(opened.status->Folder()->text().startsWith(test.place));
    opened.edit();
    if (test.obstacle == Obstacle::ReadOnlyFile) {
        // The failed save is told, with its time and reason, until the next edit.
        QVERIFY(QFile::setPermissions(folder.File(opened.file), QFile::ReadOwner | QFile::ReadGroup));
        QTest::keyClick(opened.window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(folder.Read(opened.file), before);
        QCOMPARE(fakes.errors.reports.size(), 1);
        const QRegularExpression failed(R"(^Niet bewaard \(\d\d:\d\d:\d\d\): )" + opened.file + ": Geen schrijf");
        QVERIFY2(failed.match(opened.status->Text()).hasMatch(), qPrintable(opened.status->Text()));
        opened.undo();
        QCOMPARE(opened.status->Text(), QString());
        opened.edit();
        QVERIFY(QFile::setPermissions(folder.File(opened.file), QFile::ReadOwner | QFile::WriteOwner));
        fakes.errors.reports.clear();
    }
    // Another program holds the folder until the status line says that the save waits for it.
    std::optional<ForeignLock> other;
    bool waitShown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (opened.status->Text() != QString::fromUtf8("Wachten tot een ander programma de map vrijgeeft…")) return;
        waitShown = true;
        other->Release();
    });
    if (test.obstacle == Obstacle::FolderLocked) {
        other.emplace(folder.Path());
        QVERIFY(other->Held());
        watch.start(5);
    }
    QTest::keyClick(opened.window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(waitShown, test.obstacle == Obstacle::FolderLocked);
    QVERIFY(folder.Read(opened.file) != before);
    QVERIFY(fakes.errors.reports.isEmpty());
    if (test.savedPrefix.isEmpty()) {
        QTRY_VERIFY(!opened.window || !opened.window->isVisible());
    } else {
        QVERIFY2(opened.status->Text().startsWith(test.savedPrefix), qPrintable(opened.status->Text()));
        QVERIFY(QRegularExpression(R"(\(\d\d:\d\d:\d\d\)$)").match(opened.status->Text()).hasMatch());
        // An edit after the save is unsaved again; undoing it comes back to the save's message.
        const QString saved = opened.status->Text();
        opened.undo();
        QCOMPARE(opened.status->Text(), test.unsaved);
        opened.edit();
        QCOMPARE(opened.status->Text(), saved);
    }
    delete opened.window.data();
}

void OperatorComfortTest::mainWindowNamesOtherWindowsWithEdits() {
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    FakeServices fakes;
    std::unique_ptr<frmSetup> window(MainWindow(folder, fakes));
    window->show();
    QVERIFY(window->statusLine->Folder()->text().endsWith(QDir::toNativeSeparators(folder.Path())));
    QVERIFY(window->statusLine->Folder()->isVisible());

    window->TimeSignal().cmdVlottendTijdsein->click();
    QPointer<frmFloatTime> dialog = window->TimeSignal().FloatTime();
    QVERIFY(dialog);
    QCOMPARE(window->statusLine->Text(), QString());
    dialog->ledVoor->stepBy(5);
    QCOMPARE(window->statusLine->Text(), "Niet bewaarde wijzigingen: venster " + dialog->windowTitle());
    window->Automation().ledPresLevel->stepBy(1);
    QCOMPARE(window->statusLine->Text(),
             "Niet bewaarde wijzigingen: Automatisatie, venster " + dialog->windowTitle());
    // The dialog goes (its title-bar close saves nothing): only the page is left.
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QCOMPARE(window->statusLine->Text(), QString("Niet bewaarde wijzigingen: Automatisatie"));
}

void OperatorComfortTest::leavingWritesNothing() {
    // Leaving asks nothing and saves nothing, edits or not.
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    folder.Write("news.ini", Fixture("news-utf8-crlf.ini"));
    const QByteArray server = folder.Read("server.ini");
    const QByteArray news = folder.Read("news.ini");
    FakeServices fakes;
    fakes.waveOut.names = {"Kaart A", "Kaart B"};
    QPointer<frmIntNews> schedule = new frmIntNews(folder.Path(), fakes.Get(), 0);
    schedule->show();
    schedule->ledNewsOld->stepBy(3);
    QVERIFY(schedule->statusLine->Edits().Dirty());
    schedule->cmdStop->click();
    QPointer<frmMultiJingles> jingles = new frmMultiJingles(folder.Path(), fakes.Get());
    jingles->show();
    jingles->updKaart[0]->StepUp();
    jingles->cmdStop->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!schedule && !jingles);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(folder.Read("server.ini"), server);
    QCOMPARE(folder.Read("news.ini"), news);
}

void OperatorComfortTest::tabOrder_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("page");  // main window's page, -1 for a dialog
    for (int page : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}) QTest::addRow("main window page %d", page) << "main" << page;
    for (const char* dialog : {"frmIntNews", "frmFloatNews", "frmFloatTime", "frmMultiJingles", "frmHistory"})
        QTest::newRow(dialog) << dialog << -1;
}

// Tab from the first control to the last: each page from top to bottom and left to right, then
// save, then leave; a week-hour grid is one stop. Then Esc.
void OperatorComfortTest::tabOrder() {
    QFETCH(QString, window);
    QFETCH(int, page);
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    FakeServices fakes;
    fakes.waveOut.names = {"Kaart A"};
    fakes.mixers.AddDevice("Mixer", {"Lijn"});
    std::unique_ptr<QWidget> w;
    QList<QWidget*> last;
    QWidget* first = nullptr;
    if (window == "main") {
        auto* main = MainWindow(folder, fakes);
        w.reset(main);
        main->tabSetup->setCurrentIndex(page);
        first = main->tabSetup->tabBar();
        last = {main->cmdSave, main->cmdHistory, main->cmdStop};
    } else if (window == "frmIntNews") {
        auto* d = new frmIntNews(folder.Path(), fakes.Get(), 9);
        w.reset(d);
        last = {d->cmdSave, d->cmdStop};
    } else if (window == "frmFloatNews") {
        auto* d = new frmFloatNews(folder.Path(), fakes.Get());
        w.reset(d);
        last = {d->cmdSave};
    } else if (window == "frmFloatTime") {
        auto* d = new frmFloatTime(folder.Path(), fakes.Get());
        w.reset(d);
        last = {d->cmdStop};
    } else if (window == "frmHistory") {
        // One save, so both lists have a row and both restore buttons can be pressed.
        IniAccessor ini;
        ini.SetFile(folder.File("server.ini"));
        ini.SetSection("Faders");
        ini.SetKey("PresLevel");
        ini.WriteValue(QStringLiteral("1"));
        auto* d = new frmHistory({folder.File("server.ini"), folder.File("news.ini")}, fakes.Get(), nullptr);
        w.reset(d);
        first = d->lstVersions;
        last = {d->cmdRestoreVersion, d->cmdRestoreValue, d->cmdStop};
    } else {
        auto* d = new frmMultiJingles(folder.Path(), fakes.Get());
        w.reset(d);
        last = {d->cmdSave, d->cmdStop};
    }
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    if (first) {
        first->setFocus(Qt::TabFocusReason);
    } else {
        for (QWidget* next = w->nextInFocusChain(); next != w.get(); next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    QList<QWidget*> stops;
    for (QWidget* focus = QApplication::focusWidget(); focus && !stops.contains(focus) && stops.size() < 400;
         focus = QApplication::focusWidget()) {
        stops.append(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QVERIFY(stops.size() >= last.size() + 1);
    QCOMPARE(stops.mid(stops.size() - last.size()), last);
    if (first) QCOMPARE(stops.first(), first);

    // The controls between: each one below or beside the one before, or at the top of a new column
    // to the right of it.
    int grids = 0;
    QRect previous;
    for (QWidget* stop : stops.mid(first ? 1 : 0, stops.size() - last.size() - (first ? 1 : 0))) {
        if (qobject_cast<WeekHourGrid*>(stop->parentWidget())) ++grids;
        const QRect r(stop->mapTo(w.get(), QPoint(0, 0)), stop->size());
        const QString where = stop->objectName() + " after " + QString::number(previous.x()) + "," +
                              QString::number(previous.y());
        QVERIFY2(previous.isNull() || r.bottom() >= previous.top() || r.left() >= previous.right(), qPrintable(where));
        previous = r;
    }
    QVERIFY(grids <= 1);

    // Esc where the focus stopped closes a dialog, as its title bar does, and never the main window.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(w->isVisible(), window == "main");
}

void OperatorComfortTest::noFrozenWindowWhileTheFolderIsLocked() {
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    IniAccessor ini;  // one version, so the history window has something to put back
    ini.SetFile(folder.File("server.ini"));
    ini.SetSection("Faders");
    ini.SetKey("PresLevel");
    ini.WriteValue(QStringLiteral("1"));
    const QByteArray before = folder.Read("server.ini");
    FakeServices fakes;
    std::unique_ptr<frmSetup> window(MainWindow(folder, fakes));
    window->show();
    window->Automation().ledPresLevel->stepBy(1);
    frmHistory history({folder.File("server.ini")}, fakes.Get(), nullptr);
    QTRY_VERIFY(!history.Reading() && history.cmdRestoreVersion->isEnabled());

    // Another program holds the folder for its own save and does not let go in time.
    ForeignLock other(folder.Path());
    QVERIFY(other.Held());
    SetLockWaitMs(300);
    bool ranWhileWaiting = false;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    bool stayedOpen = false;
    bool buttonsOff = false;
    bool secondStarted = true;
    QTimer::singleShot(0, window.get(), [&] {
        ranWhileWaiting = true;
        cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        // Nothing closes a window whose save is under way.
        window->close();
        stayedOpen = window->isVisible();
        // A screen reader presses save or restore again: every such button is off, and a save
        // started all the same is refused without a word.
        buttonsOff = !window->cmdSave->isEnabled() && !history.cmdRestoreVersion->isEnabled() &&
                     !history.cmdRestoreValue->isEnabled();
        for (QWidget* button : {static_cast<QWidget*>(window->cmdSave), static_cast<QWidget*>(history.cmdRestoreVersion)})
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        secondStarted = window->cmdSave_Click() || history.cmdRestoreVersion_Click();
    });
    QVERIFY(!window->cmdSave_Click());
    other.Release();
    QVERIFY(buttonsOff);
    QVERIFY(!secondStarted);
    QVERIFY(window->cmdSave->isEnabled() && history.cmdRestoreVersion->isEnabled());
    QTest::qWait(200);  // a press the screen reader animates would come now
    QVERIFY(fakes.errors.questions.isEmpty());

    QVERIFY(ranWhileWaiting);
    QCOMPARE(cursor, Qt::WaitCursor);
    QVERIFY(stayedOpen);
    QVERIFY(window->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    // The wait ends as before: a message box per file (news.ini is tried on its own) says which file
    // and why, and nothing was written.
    QCOMPARE(fakes.errors.reports.size(), 2);
    QVERIFY(fakes.errors.reports[0].message.contains("server.ini"));
    QVERIFY(fakes.errors.reports[0].message.contains("in gebruik"));
    QVERIFY(fakes.errors.reports[1].message.contains("news.ini"));
    QCOMPARE(folder.Read("server.ini"), before);
    QVERIFY2(window->statusLine->Text().startsWith("Niet bewaard ("), qPrintable(window->statusLine->Text()));
    QVERIFY(window->statusLine->Text().contains("server.ini: Het bestand is in gebruik"));
    // Free again: the same edits save.
    QVERIFY(window->cmdSave_Click());
    QVERIFY(window->statusLine->Text().startsWith("Bewaard: server.ini, news.ini ("));
}

void OperatorComfortTest::genreListState_data() {
    QTest::addColumn<bool>("withDatabase");
    QTest::addColumn<QString>("error");  // the database the reader finds damaged; empty: the list
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<bool>("dark");  // a dark palette: the message and the marks still read (4.5:1)
    QTest::newRow("list read") << true << QString() << QString() << false;
    QTest::newRow("reader fails") << true << "db/data.mdb" << "De genre-databank is beschadigd: db/data.mdb" << false;
    QTest::newRow("no data.mdb") << false << QString() << "data.mdb bestaat niet" << false;
    QTest::newRow("reader fails, dark palette")
        << true << "db/data.mdb" << "De genre-databank is beschadigd: db/data.mdb" << true;
    QTest::newRow("no data.mdb, dark palette") << false << QString() << "data.mdb bestaat niet" << true;
}

void OperatorComfortTest::genreListState() {
    QFETCH(bool, withDatabase);
    QFETCH(QString, error);
    QFETCH(QString, shownAfter);
    QFETCH(bool, dark);
    const QPalette light = QApplication::palette();
    const auto restore = qScopeGuard([light] { QApplication::setPalette(light); });
    if (dark) {
        QPalette palette(QColor(60, 60, 60), QColor(45, 45, 45));
        palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
        palette.setColor(QPalette::Base, QColor(30, 30, 30));
        QApplication::setPalette(palette);
    }
    TempProgramFolder folder;
    QDir().mkpath(folder.DatabaseFolder());
    if (withDatabase) WriteFile(folder.DatabaseFolder() + "/data.mdb", "not read by the fake");
    // And a value the checks mark, on the same page.
    folder.Write("server.ini", "[Files]\nDatabasePath=" + folder.DatabaseFolder().toUtf8() +
                                   "\n[Sequencer]\nPanicGenre=Jazz\n[Faders]\nPresLevel=abc\n");
    FakeServices fakes;
    std::unique_ptr<frmSetup> window(MainWindow(folder, fakes));
    window->tabSetup->setCurrentIndex(2);
    window->show();
    AutomationTiming& page = window->Automation();
    // (It tells already that the save would write PresLevel's word as 0.)
    const QString statusBefore = window->statusLine->Text();
    if (withDatabase) {
        QVERIFY(page.lblGenres->isVisible());
        QCOMPARE(page.lblGenres->text(), QString("Genres worden gelezen…"));
        QCOMPARE(page.cobPanic->currentText(), QString("Jazz"));
        QVERIFY(error.isEmpty() ? fakes.genres.Answer({"Blues", "Jazz"}) : fakes.genres.Fail(GenreFailure::Damaged, error));
    }
    QCOMPARE(page.cobPanic->currentText(), QString("Jazz"));  // the box's own text never changes
    QCOMPARE(page.lblGenres->isVisible(), !shownAfter.isEmpty());
    if (!shownAfter.isEmpty()) QVERIFY2(page.lblGenres->text().contains(shownAfter), qPrintable(page.lblGenres->text()));
    QCOMPARE(window->statusLine->Text(), statusBefore);  // a list arriving is no edit
    if (!shownAfter.isEmpty()) {
        const QPalette shown = page.lblGenres->palette();
        const double ratio = ContrastRatio(shown.color(QPalette::WindowText), shown.color(QPalette::Window));
        QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
    }
    // The mark's frame, as painted, against the page it sits on.
    QWidget* mark = page.ledPresLevel->parentWidget()->findChild<QWidget*>("checkMark");
    QVERIFY(mark && mark->isVisible());
    const QColor frame = mark->grab().toImage().pixelColor(1, mark->height() / 2);
    const double ratio = ContrastRatio(frame, mark->palette().color(QPalette::Window));
    QVERIFY2(ratio >= 4.5, qPrintable(QString("%1 on %2: %3").arg(frame.name(), mark->palette().color(QPalette::Window).name()).arg(ratio)));
}

void OperatorComfortTest::titleBarCloseLeavesDialogsWorking() {
    TempProgramFolder folder;
    folder.Write("server.ini", Fixture("server-utf8-crlf.ini"));
    FakeServices fakes;
    fakes.waveOut.names = {"Kaart A", "Kaart B"};
    auto window = std::unique_ptr<frmSetup>(MainWindow(folder, fakes));
    for (QWidget* other : QApplication::topLevelWidgets())
        if (other != window.get()) other->close();
    window->show();
    window->TimeSignal().cmdVlottendTijdsein->click();
    window->Cards().cmdMultiJingle->click();
    QPointer<frmFloatTime> floatTime = window->TimeSignal().FloatTime();
    QPointer<frmMultiJingles> jingles = window->Cards().MultiJingles();
    QVERIFY(floatTime && jingles);

    // As in the program: the event loop runs until the last window is closed.
    QStringList steps;
    bool endedByItself = true;
    QTimer::singleShot(0, qApp, [&] {
        window->close();  // the title bar's close button
        steps << (window->isVisible() ? "main window open" : "main window gone");
        steps << (floatTime && floatTime->isVisible() && jingles && jingles->isVisible() ? "dialogs open"
                                                                                         : "dialogs gone");
        // The dialogs keep working, each with its own save.
        jingles->updKaart[2]->StepUp();
        steps << (jingles->cmdSave_Click() ? "jingles saved" : "jingles not saved");
        steps << IniValueInFile(folder.File("server.ini"), "AudioPlayers", "Jingle_C_Card");
        jingles->cmdStop->click();
        QTimer::singleShot(0, qApp, [&] {
            steps << (floatTime && floatTime->isVisible() ? "program goes on" : "float time gone");
            floatTime->ledNa->stepBy(4);
            steps << (floatTime->cmdStop_Click() ? "float time saved" : "float time not saved");
        });
    });
    QTimer guard;  // only against a hang: the program must end when its last window closes
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [&] {
        endedByItself = false;
        QCoreApplication::quit();
    });
    guard.start(20000);
    QCoreApplication::exec();
    QVERIFY(endedByItself);
    QCOMPARE(steps, (QStringList{"main window gone", "dialogs open", "jingles saved", "0", "program goes on",
                                 "float time saved"}));
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", "AfterTime"), QString("64"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(OperatorComfortTest)
#include "tst_operator_comfort.moc"
