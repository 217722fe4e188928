#include "ui/UsageText.h"

#include <QCoreApplication>

namespace ui {

namespace {

std::u16string Translate(const char* english) {
    return QCoreApplication::translate(core::usage::kContext, english).toStdU16String();
}

}  // namespace

// The commands of the examples stay as they are typed; the sentences around
// them are in the user's language.
QString UsageText() {
    return QString::fromStdU16String(core::usage::Text(&Translate));
}

}  // namespace ui
