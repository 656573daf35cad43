#include "workbook/xls/decryption.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>
#include <nettle/nettle-meta.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_stream.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/xor_obfuscation.h"

namespace kx::workbook::detail {

namespace {

using Key = std::vector<uint8_t>;
using BlockKey = std::function<Key(uint32_t block)>;

constexpr size_t kRc4BlockSize = 1024;  // the key changes with every block of the stream
constexpr size_t kSaltSize = 16;
constexpr size_t kVerifierSize = 16;

[[noreturn]] void failWrongPassword()
{
    throw ReadFailure(ErrorCode::PasswordProtected, "it is protected by a password");
}

[[noreturn]] void failUnknownEncryption()
{
    throw ReadFailure(ErrorCode::Unsupported, "it is encrypted in a way this program does not know");
}

// The password as the RC4 schemes hash it: UTF-16LE, without a terminator.
Key passwordUtf16(std::u16string_view password)
{
    Key bytes;
    for (char16_t unit : password) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

Key littleEndian32(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

Key joined(Key first, const Key& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Key digestOf(const nettle_hash& algorithm, const Key& data)
{
    std::vector<uint8_t> context(algorithm.context_size);
    algorithm.init(context.data());
    algorithm.update(context.data(), data.size(), data.data());
    Key digest(algorithm.digest_size);
    algorithm.digest(context.data(), digest.size(), digest.data());
    return digest;
}

Key md5(const Key& data) { return digestOf(nettle_md5, data); }
Key sha1(const Key& data) { return digestOf(nettle_sha1, data); }

Key readBytes(RecordReader& reader, size_t count)
{
    Key bytes(count);
    for (uint8_t& byte : bytes)
        byte = reader.u8();
    return bytes;
}

// RC4 over the stream, keyed afresh at the start of each block; bytes left clear still use up
// their share of the key stream.
class BlockRc4 {
public:
    explicit BlockRc4(BlockKey keyFor) : keyFor_(std::move(keyFor)) {}

    void decrypt(uint8_t* data, size_t streamOffset, size_t count)
    {
        while (count > 0) {
            const auto block = static_cast<uint32_t>(streamOffset / kRc4BlockSize);
            const size_t inBlock = streamOffset % kRc4BlockSize;
            if (!keyed_ || block != block_ || inBlock < used_)
                rekey(block);
            discard(inBlock - used_);
            const size_t take = std::min(count, kRc4BlockSize - inBlock);
            arcfour_crypt(&context_, take, data, data);
            used_ = inBlock + take;
            data += take;
            streamOffset += take;
            count -= take;
        }
    }

private:
    void rekey(uint32_t block)
    {
        const Key key = keyFor_(block);
        arcfour_set_key(&context_, key.size(), key.data());
        keyed_ = true;
        block_ = block;
        used_ = 0;
    }

    void discard(size_t count)
    {
        uint8_t scratch[kRc4BlockSize];
        arcfour_crypt(&context_, count, scratch, scratch);
    }

    BlockKey keyFor_;
    arcfour_ctx context_{};
    bool keyed_ = false;
    uint32_t block_ = 0;
    size_t used_ = 0;
};

// The verifier and its hash are encrypted one after the other with the key of block 0.
bool verifierMatches(const BlockKey& keyFor, Key verifier, Key verifierHash, const std::function<Key(const Key&)>& hash)
{
    Key both = joined(std::move(verifier), verifierHash);
    BlockRc4 cipher(keyFor);
    cipher.decrypt(both.data(), 0, both.size());
    const Key plainVerifier(both.begin(), both.begin() + kVerifierSize);
    const Key expected = hash(plainVerifier);
    return std::equal(both.begin() + kVerifierSize, both.end(), expected.begin(),
                      expected.begin() + static_cast<std::ptrdiff_t>(std::min(expected.size(), verifierHash.size())));
}

// RC4 with MD5: a 40-bit key from the password and the salt, hashed with each block number.
BlockKey rc4Md5Keys(RecordReader& reader, std::u16string_view password)
{
    const Key salt = readBytes(reader, kSaltSize);
    Key verifier = readBytes(reader, kVerifierSize);
    Key verifierHash = readBytes(reader, MD5_DIGEST_SIZE);
    const Key passwordHash = md5(passwordUtf16(password));
    Key salted;
    for (int i = 0; i < 16; ++i)
        salted = joined(joined(std::move(salted), Key(passwordHash.begin(), passwordHash.begin() + 5)), salt);
    const Key digest = md5(salted);
    const Key base(digest.begin(), digest.begin() + 5);
    BlockKey keyFor = [base](uint32_t block) { return md5(joined(base, littleEndian32(block))); };
    if (!verifierMatches(keyFor, std::move(verifier), std::move(verifierHash), md5))
        failWrongPassword();
    return keyFor;
}

// RC4 through the CryptoAPI: SHA-1 of the salt and password, hashed with each block number and
// cut to the key size; a 40-bit key is padded with zeros to 128 bits.
BlockKey cryptoApiKeys(RecordReader& reader, std::u16string_view password)
{
    reader.skip(4);  // flags
    const uint32_t headerSize = reader.u32();
    if (headerSize < 32 || headerSize > reader.remaining())
        reader.fail("the encryption header is longer than the record");
    reader.skip(16);  // flags, extra size, cipher and hash algorithms
    const uint32_t keyBits = reader.u32();
    reader.skip(headerSize - 20);  // provider type, reserved, provider name
    if (reader.u32() != kSaltSize)
        failUnknownEncryption();
    const Key salt = readBytes(reader, kSaltSize);
    Key verifier = readBytes(reader, kVerifierSize);
    const uint32_t hashSize = reader.u32();
    if (hashSize != SHA1_DIGEST_SIZE)
        failUnknownEncryption();
    Key verifierHash = readBytes(reader, hashSize);
    const size_t keyBytes = keyBits == 0 ? 5 : keyBits / 8;
    if (keyBytes < 5 || keyBytes > SHA1_DIGEST_SIZE)
        failUnknownEncryption();
    const Key base = sha1(joined(salt, passwordUtf16(password)));
    BlockKey keyFor = [base, keyBytes](uint32_t block) {
        Key key = sha1(joined(base, littleEndian32(block)));
        key.resize(keyBytes);
        if (keyBytes == 5)
            key.resize(16, 0);
        return key;
    };
    if (!verifierMatches(keyFor, std::move(verifier), std::move(verifierHash), sha1))
        failWrongPassword();
    return keyFor;
}

// These records stay clear in an encrypted stream; so does the stream offset at the start of
// BOUNDSHEET, which locates a sheet before anything is decrypted.
bool neverEncrypted(uint16_t type)
{
    switch (type) {
    case record_type::Bof:
    case record_type::FilePass:
    case 0x00E1:  // INTERFACEHDR
    case 0x0138:  // RRDHEAD
    case 0x0194:  // USREXCL
    case 0x0195:  // FILELOCK
    case 0x0196:  // RRDINFO
        return true;
    default:
        return false;
    }
}

// Calls `decrypt(from, to, bodyStart, bodySize)` for the encrypted part of each record body.
// A record reaching past the end is cut there; the record reader reports it later.
template <typename Decrypt>
void forEachEncryptedBody(const std::vector<std::byte>& stream, Decrypt&& decrypt)
{
    size_t position = 0;
    while (stream.size() - position >= 4) {
        const uint16_t type = littleEndian16(stream.data() + position);
        const size_t size = littleEndian16(stream.data() + position + 2);
        const size_t body = position + 4;
        const size_t end = std::min(stream.size(), body + size);
        if (!neverEncrypted(type)) {
            const size_t from = type == record_type::BoundSheet ? std::min(end, body + 4) : body;
            decrypt(from, end, body, size);
        }
        position = end;
    }
}

uint8_t* bytesAt(std::vector<std::byte>& stream, size_t offset)
{
    return reinterpret_cast<uint8_t*>(stream.data() + offset);
}

void decryptRc4(std::vector<std::byte>& stream, BlockKey keyFor)
{
    BlockRc4 cipher(std::move(keyFor));
    forEachEncryptedBody(stream, [&](size_t from, size_t to, size_t, size_t) {
        cipher.decrypt(bytesAt(stream, from), from, to - from);
    });
}

// Each record's bytes take the array entries in turn, starting where the record's end falls.
void decryptXor(std::vector<std::byte>& stream, RecordReader& reader, std::u16string_view password)
{
    const uint16_t key = reader.u16();
    const uint16_t verifier = reader.u16();
    if (key != xorPasswordKey(password) || verifier != xorPasswordVerifier(password))
        failWrongPassword();
    const std::array<uint8_t, 16> array = xorArray(password);
    forEachEncryptedBody(stream, [&](size_t from, size_t to, size_t body, size_t size) {
        size_t index = (body + size + (from - body)) % array.size();
        for (uint8_t* at = bytesAt(stream, from); at != bytesAt(stream, to); ++at) {
            *at = unobfuscate(*at, array[index]);
            index = (index + 1) % array.size();
        }
    });
}

// Finds the FILEPASS record of the globals, which end with EOF. Damage past it is left for the
// reading of the records to report, or to read around.
bool findFilePass(RecordStream& records, Record& record)
{
    try {
        if (!records.next(record) || record.type != record_type::Bof)
            return false;
        while (records.next(record) && record.type != record_type::Eof)
            if (record.type == record_type::FilePass)
                return true;
    } catch (const ReadFailure&) {
    }
    return false;
}

}  // namespace

void decryptWorkbookStream(std::vector<std::byte>& stream, std::u16string_view password)
{
    RecordStream records(stream);
    Record found;
    if (!findFilePass(records, found))
        return;
    RecordReader reader(found);
    // Excel 5.0/95 wrote only the XOR obfuscation, without saying which method it is.
    if (reader.remaining() == 4)
        return decryptXor(stream, reader, password);
    const uint16_t method = reader.u16();
    if (method == 0)
        return decryptXor(stream, reader, password);
    if (method != 1)
        failUnknownEncryption();
    const uint16_t major = reader.u16();
    const uint16_t minor = reader.u16();
    if (major == 1 && minor == 1)
        return decryptRc4(stream, rc4Md5Keys(reader, password));
    if (major >= 2 && major <= 4 && minor == 2)
        return decryptRc4(stream, cryptoApiKeys(reader, password));
    failUnknownEncryption();
}

}  // namespace kx::workbook::detail
