#pragma once

#include <string>

#include "cipher/FileError.h"

class QWidget;
struct Platform;

enum class FileDirection { Encrypt, Decrypt };

// One whole-file encryption or decryption in the busy state (hourglass, main
// window disabled, status window shown), always as raw containers and always
// replacing the destination. The arguments go to the engine by reference: a
// completed (or, for decryption, failed) operation empties them, a declined one
// keeps them. A failure is reported to the user in a message box and, when
// `failure` is given, its kind stored there. True when the destination was
// written.
bool RunFileProcedure(Platform& platform, QWidget& mainWindow, FileDirection direction,
                      std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass,
                      FileFailure* failure = nullptr);
