#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// MD5 message digest (RFC 1321), fed incrementally.
class Md5 {
public:
    Md5();
    void Update(const void* data, size_t size);
    void Final(uint8_t digest[16]);

private:
    void Transform(const uint8_t block[64]);

    uint32_t m_state[4];
    uint64_t m_nBytes = 0;
    uint8_t m_buffer[64];
};

// 32 lower-case hexadecimal digits, two per digest byte in digest order.
std::wstring DigestToHex(const uint8_t digest[16]);
