// SHA-256 digests through the system's CryptoAPI, written as lowercase hex:
// the installer seals its log with one, the remover checks it.
#pragma once

#include <stddef.h>

#include <string>

// The SHA-256 of the bytes as 64 hex digits; empty when the system offers
// no SHA-256 provider.
std::string Sha256Hex(const void* data, size_t size);

