#include "settings/IniAccessor.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringList>

namespace quorvant {

// Writes collected by one save, applied in order at commit.
class IniTransaction {
public:
    struct Write {
        QString section, key, value;
    };
    QList<Write> writes;
};

namespace {

QStringList LoadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n');
}

bool IsSectionLine(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']')) return false;
    if (name) *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

QString Lookup(const QStringList& lines, const QString& section, const QString& key) {
    bool in = false;
    for (const QString& line : lines) {
        QString name;
        if (IsSectionLine(line, &name)) {
            in = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!in || line.startsWith(';')) continue;
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            QString v = line.mid(eq + 1);
            if (v.endsWith('\r')) v.chop(1);
            return v;
        }
    }
    return {};
}

void Apply(QStringList& lines, const QString& section, const QString& key, const QString& value) {
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    int sectionAt = -1, lastKey = -1;
    bool in = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QString name;
        if (IsSectionLine(line, &name)) {
            if (in) break;
            in = name.compare(section, Qt::CaseInsensitive) == 0;
            if (in) sectionAt = lastKey = i;
            continue;
        }
        if (!in || line.startsWith(';')) continue;
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        lastKey = i;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            const bool cr = line.endsWith('\r');
            lines[i] = line.left(eq + 1) + value + (cr ? "\r" : "");
            return;
        }
    }
    if (sectionAt < 0) {
        lines << "[" + section + "]" << key + "=" + value;
    } else {
        lines.insert(lastKey + 1, key + "=" + value);
    }
}

void Store(const QString& path, const QList<IniTransaction::Write>& writes) {
    QStringList lines = LoadLines(path);
    for (const auto& w : writes) Apply(lines, w.section, w.key, w.value);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) throw IniError(path, "Het bestand kan niet worden geschreven");
    f.write((lines.join('\n') + "\n").toUtf8());
    if (!f.commit()) throw IniError(path, "Het bestand kan niet worden geschreven");
}

}  // namespace

IniAccessor::IniAccessor() = default;
IniAccessor::~IniAccessor() = default;

void IniAccessor::SetFile(const QString& path) { file_ = path; }
void IniAccessor::SetSection(const QString& name) { section_ = name; }
void IniAccessor::SetKey(const QString& name) { key_ = name; }

QString IniAccessor::ReadValue() const {
    if (transaction_) {
        for (auto it = transaction_->writes.crbegin(); it != transaction_->writes.crend(); ++it)
            if (it->section.compare(section_, Qt::CaseInsensitive) == 0 &&
                it->key.compare(key_, Qt::CaseInsensitive) == 0)
                return it->value;
    }
    return Lookup(LoadLines(file_), section_, key_);
}

void IniAccessor::WriteValue(const QString& value) {
    if (transaction_) {
        transaction_->writes.append({section_, key_, value});
        return;
    }
    Store(file_, {{section_, key_, value}});
}

void IniAccessor::WriteValue(qint16 value) { WriteValue(QString::number(value)); }
void IniAccessor::WriteValue(qint32 value) { WriteValue(QString::number(value)); }

void IniAccessor::BeginSave() { transaction_ = std::make_unique<IniTransaction>(); }

void IniAccessor::CommitSave() {
    if (!transaction_) return;
    const auto writes = std::move(transaction_->writes);
    transaction_.reset();
    Store(file_, writes);
}

void IniAccessor::AbortSave() { transaction_.reset(); }
bool IniAccessor::InSave() const { return transaction_ != nullptr; }

}  // namespace quorvant
