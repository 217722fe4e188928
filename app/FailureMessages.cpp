#include "app/FailureMessages.h"

#include <QCoreApplication>

#include "core/Messages.h"
#include "core/SourceWipe.h"

namespace failure {

namespace {

QString Translate(const char* text) {
    return QCoreApplication::translate(messages::kContext, text);
}

// %1 to %9 replaced in one pass, as the shared messages do it.
QString Fill(const QString& text, const std::vector<std::string>& args) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const auto index = static_cast<std::size_t>(text[i + 1].unicode() - u'1');
            if (index < args.size()) {
                out += QString::fromStdString(args[index]);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

QString WrongPasswordForText() {
    return Translate(messages::kWrongPasswordForText);
}

QString NoDestination() {
    return Translate(messages::kNoDestination);
}

QString Translated(const messages::Message& message) {
    return Fill(Translate(message.text), message.args);
}

QString ForFile(const FileError& error) {
    return Translated(messages::FileMessage(error));
}

QString ForUnrepresentable(char32_t character) {
    return Translated(messages::UnrepresentableMessage(character));
}

std::optional<QString> ForWipe(const WipeResult& result, const QString& source) {
    const std::optional<messages::Message> message =
        messages::WipeMessage(result, source.toStdString());
    if (!message) return std::nullopt;
    return Translated(*message);
}

QString ForUnexpected(const char* what) {
    return Translated(messages::UnexpectedMessage(what));
}

}  // namespace failure
