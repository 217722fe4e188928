#include "app/FailureMessages.h"

#include "core/Messages.h"
#include "core/SourceWipe.h"

namespace failure {

QString ForFile(const FileError& error) {
    return QString::fromStdString(messages::ForFile(error));
}

QString ForUnrepresentable(char32_t character) {
    return QString::fromStdString(messages::ForUnrepresentable(character));
}

std::optional<QString> ForWipe(const WipeResult& result, const QString& source) {
    const std::optional<std::string> text = messages::ForWipe(result, source.toStdString());
    if (!text) return std::nullopt;
    return QString::fromStdString(*text);
}

QString ForUnexpected(const char* what) {
    return QString::fromStdString(messages::ForUnexpected(what));
}

}  // namespace failure
