#include "Digest.h"

#include <windows.h>
#include <wincrypt.h>

// Declared only for newer Windows versions than the programs target; the
// value is fixed.
#ifndef CALG_SHA_256
#define CALG_SHA_256 (ALG_CLASS_HASH | ALG_TYPE_ANY | 12)
#endif

namespace {
// The hex digits of the bytes, two a byte, lowercase.
std::string HexOfBytes(const unsigned char* bytes, size_t size)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (size_t i = 0; i < size; i++) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}
} // namespace

// PROV_RSA_AES is the provider that knows SHA-256 (Windows XP SP3 on).
std::string Sha256Hex(const void* data, size_t size)
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return std::string();
    std::string hex;
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        const BYTE* bytes = (const BYTE*)data;
        bool hashed = true;
        // CryptHashData takes a 32-bit length.
        for (size_t done = 0; hashed && done < size;) {
            DWORD block = size - done > 0x10000000 ? 0x10000000 : (DWORD)(size - done);
            hashed = CryptHashData(hash, bytes + done, block, 0) != 0;
            done += block;
        }
        BYTE digest[32];
        DWORD length = sizeof digest;
        if (hashed && CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0) && length == sizeof digest)
            hex = HexOfBytes(digest, sizeof digest);
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return hex;
}
