#include "platform/GenreDatabase.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <memory>

#include "platform/mdb/GenreProtocol.h"
#include "text/Messages.h"

namespace quorvant {

namespace {

// A reader that floods its output is as broken as one that hangs.
constexpr qint64 kMaxAnswerBytes = 64 * 1024 * 1024;

GenreList Failure(const QString& reason) { return GenreList{{}, reason}; }

// "5" for 5000 ms, "0,3" for 300 ms.
QString Seconds(int ms) {
    QString text = QString::number(ms / 1000.0, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

GenreList FromAnswer(const QByteArray& output, int exitCode, const QString& mdbPath) {
    const std::optional<genre_protocol::Answer> answer = genre_protocol::Decode(output);
    if (!answer || (answer->ok && exitCode != 0)) {
        return Failure(msg::GenreUnexpectedAnswer(mdbPath));
    }
    if (answer->ok) return GenreList{answer->genres, {}};
    if (answer->error == "nofile") return Failure(msg::GenreDatabaseNotFound(mdbPath));
    if (answer->error == "notdatabase") return Failure(msg::GenreNotADatabase(mdbPath));
    if (answer->error == "notable") return Failure(msg::GenreNoTable(mdbPath));
    if (answer->error == "nocolumn") return Failure(msg::GenreNoColumn(mdbPath));
    return Failure(msg::GenreDamaged(mdbPath));
}

}  // namespace

ProcessGenreSource::ProcessGenreSource(const QString& helperProgram, int timeLimitMs)
    : helper_(helperProgram), timeLimitMs_(timeLimitMs) {}

ProcessGenreSource::~ProcessGenreSource() {
    // Cut the processes loose first: a process's destructor waits for it and would report its end
    // to callers that may be gone by now.
    for (QProcess* process : owner_.findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        process->disconnect();
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
}

void ProcessGenreSource::Request(const QString& mdbPath, std::function<void(const GenreList&)> done) {
    // Every answer goes through the event loop: the caller is never re-entered from Request or
    // from inside a process signal, and a posted answer dies with owner_.
    auto answered = std::make_shared<bool>(false);
    auto answer = [this, done, answered](const GenreList& list) {
        if (*answered) return;
        *answered = true;
        QMetaObject::invokeMethod(
            &owner_, [done, list] { done(list); }, Qt::QueuedConnection);
    };

    if (!QFileInfo(mdbPath).isFile()) {
        answer(Failure(msg::GenreDatabaseNotFound(mdbPath)));
        return;
    }

    auto* process = new QProcess(&owner_);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);

    QObject::connect(timer, &QTimer::timeout, process, [this, process, answer] {
        answer(Failure(msg::GenreNoAnswer(Seconds(timeLimitMs_))));
        process->kill();  // finished follows and removes the process
    });
    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [process, answer, mdbPath] {
        if (process->bytesAvailable() <= kMaxAnswerBytes) return;
        answer(FromAnswer(QByteArray(), 1, mdbPath));
        process->kill();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, timer, answer, mdbPath](int exitCode, QProcess::ExitStatus status) {
                         timer->stop();
                         process->deleteLater();
                         if (status == QProcess::CrashExit) {
                             answer(Failure(msg::GenreReaderCrashed(mdbPath)));
                             return;
                         }
                         answer(FromAnswer(process->readAllStandardOutput(), exitCode, mdbPath));
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [this, process, timer, answer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;  // the other errors end in finished
                         timer->stop();
                         process->deleteLater();
                         answer(Failure(msg::GenreReaderMissing(helper_)));
                     });

    timer->start(timeLimitMs_);
    process->start(helper_, {mdbPath}, QIODevice::ReadOnly);
}

}  // namespace quorvant
