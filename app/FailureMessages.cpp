#include "app/FailureMessages.h"

#include <QCoreApplication>

#include "core/Messages.h"

namespace app {

namespace failure {

namespace {

QString Translate(const char* text) {
    return QCoreApplication::translate(core::messages::kContext, text);
}

// The arguments go into the translated template as the shared messages fill them.
QString Fill(const QString& text, const std::vector<std::string>& args) {
    QString out;
    out.reserve(text.size());
    core::messages::FillPlaceholders(
        text.utf16(), static_cast<std::size_t>(text.size()), args.size(),
        [&](std::size_t from, std::size_t count) {
            out +=
                QStringView(text).mid(static_cast<qsizetype>(from), static_cast<qsizetype>(count));
        },
        [&](std::size_t index) { out += QString::fromStdString(args[index]); });
    return out;
}

}  // namespace

QString Translated(const core::messages::Message& message) {
    return Fill(Translate(message.text), message.args);
}

QString ForFile(const cipher::FileError& error) {
    return Translated(core::messages::FileMessage(error));
}

QString ForUnrepresentable(char32_t character) {
    return Translated(core::messages::UnrepresentableMessage(character));
}

QString ForUnexpected(const char* what) {
    return Translated(core::messages::UnexpectedMessage(what));
}

}  // namespace failure

}  // namespace app
