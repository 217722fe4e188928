#pragma once

#include <QString>
#include <optional>

// The destination that goes with a source path: "x.enc" becomes "x" (the
// suffix in any letter case), anything else gets ".enc" appended. Nothing for
// an empty source.
std::optional<QString> DestinationFor(const QString& source);
