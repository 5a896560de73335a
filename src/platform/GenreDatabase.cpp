#include "platform/GenreDatabase.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <memory>

#include "platform/mdb/GenreProtocol.h"

namespace quorvant {

namespace {

// A reader that floods its output is as broken as one that hangs.
constexpr qint64 kMaxAnswerBytes = 64 * 1024 * 1024;

GenreList Failure(GenreFailure failure, const QString& path, int timeLimitMs = 0) {
    return GenreList{{}, failure, path, timeLimitMs};
}

GenreList FromAnswer(const QByteArray& output, int exitCode, const QString& mdbPath) {
    const std::optional<genre_protocol::Answer> answer = genre_protocol::Decode(output);
    if (!answer || (answer->ok && exitCode != 0)) {
        return Failure(GenreFailure::UnexpectedAnswer, mdbPath);
    }
    if (answer->ok) return GenreList{answer->genres, GenreFailure::None, {}, 0};
    if (answer->error == "nofile") return Failure(GenreFailure::NotFound, mdbPath);
    if (answer->error == "notdatabase") return Failure(GenreFailure::NotADatabase, mdbPath);
    if (answer->error == "notable") return Failure(GenreFailure::NoTable, mdbPath);
    if (answer->error == "nocolumn") return Failure(GenreFailure::NoColumn, mdbPath);
    return Failure(GenreFailure::Damaged, mdbPath);
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
        answer(Failure(GenreFailure::NotFound, mdbPath));
        return;
    }

    auto* process = new QProcess(&owner_);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);

    QObject::connect(timer, &QTimer::timeout, process, [this, process, answer, mdbPath] {
        answer(Failure(GenreFailure::NoAnswer, mdbPath, timeLimitMs_));
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
                             answer(Failure(GenreFailure::ReaderCrashed, mdbPath));
                             return;
                         }
                         answer(FromAnswer(process->readAllStandardOutput(), exitCode, mdbPath));
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [this, process, timer, answer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;  // the other errors end in finished
                         timer->stop();
                         process->deleteLater();
                         answer(Failure(GenreFailure::ReaderMissing, helper_));
                     });

    timer->start(timeLimitMs_);
    process->start(helper_, {mdbPath}, QIODevice::ReadOnly);
}

}  // namespace quorvant
