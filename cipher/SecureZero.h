#pragma once

#include "fileio/SecureZero.h"

// The engine wipes keys and plaintext with the helpers of the layer below.
namespace cipher {

using fileio::SecureZero;
using fileio::Wipe;
using fileio::WipedOnExit;

}  // namespace cipher
