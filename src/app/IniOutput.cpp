#include "app/IniOutput.h"

#include <QByteArray>
#include <QJsonDocument>

namespace quorvant::ini {

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

void PrintJson(const QJsonObject& object) {
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

int Fail(int code, const QString& message) {
    Print(stderr, QStringLiteral("quorvant-ini: %1\n").arg(message));
    return code;
}

}  // namespace quorvant::ini
