#include "app/IniOutput.h"

#include <QByteArray>

namespace quorvant::ini {

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

int Fail(int code, const QString& message) {
    Print(stderr, QStringLiteral("quorvant-ini: %1\n").arg(message));
    return code;
}

}  // namespace quorvant::ini
