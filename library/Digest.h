// SHA-256 digests through the system's CryptoAPI, written as lowercase hex:
// the installer seals its log with one, the remover checks it.
#pragma once

#include <stddef.h>

#include <string>

// The hex digits of the bytes, two a byte, lowercase.
std::string HexOfBytes(const unsigned char* bytes, size_t size);

// The SHA-256 of the bytes as 64 hex digits; empty when the system offers
// no SHA-256 provider.
std::string Sha256Hex(const void* data, size_t size);

// The value of a program's uninstall key that holds the digest of its
// install log.
const char kLogDigestValue[] = "InstallLogDigest";
