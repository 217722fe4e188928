#include "ui/DestinationName.h"

namespace {
const QString kSuffix = QStringLiteral(".enc");
}  // namespace

std::optional<QString> DestinationFor(const QString& source) {
    if (source.isEmpty()) return std::nullopt;
    if (source.right(kSuffix.size()).toLower() == kSuffix) return source.chopped(kSuffix.size());
    return source + kSuffix;
}
