// The module's resources, read from the bytes of a compiled .res file: a
// sequence of records, each a header (sizes, type, name, flags) and its data.
#include "ui.h"

namespace sim {
namespace detail {
namespace {

std::vector<BYTE> &ResourceBytes()
{
    static std::vector<BYTE> bytes;
    return bytes;
}

// Reads an ordinal (0xFFFF, id) or a zero-terminated UTF-16 name; ordinals
// come back as their number, names as -1.
long ReadNameOrId(const BYTE *p, size_t size, size_t *offset)
{
    if (*offset + 4 <= size && p[*offset] == 0xFF && p[*offset + 1] == 0xFF) {
        long id = p[*offset + 2] | p[*offset + 3] << 8;
        *offset += 4;
        return id;
    }
    while (*offset + 2 <= size && (p[*offset] || p[*offset + 1]))
        *offset += 2;
    *offset += 2;
    return -1;
}

} // namespace

std::vector<BYTE> FindResourceBytes(long type, long id)
{
    const std::vector<BYTE> &res = ResourceBytes();
    size_t offset = 0;
    while (offset + 8 <= res.size()) {
        uint32_t dataSize = LittleEndian32(&res[offset]), headerSize = LittleEndian32(&res[offset + 4]);
        size_t cursor = offset + 8;
        long resType = ReadNameOrId(res.data(), res.size(), &cursor);
        long resId = ReadNameOrId(res.data(), res.size(), &cursor);
        size_t data = offset + headerSize;
        if (resType == type && resId == id && data + dataSize <= res.size())
            return std::vector<BYTE>(res.begin() + data, res.begin() + data + dataSize);
        offset = (data + dataSize + 3) & ~(size_t)3;
    }
    return std::vector<BYTE>();
}

} // namespace detail

std::string ModuleResource(long type, long id)
{
    std::vector<BYTE> bytes = detail::FindResourceBytes(type, id);
    return std::string(bytes.begin(), bytes.end());
}

namespace detail {
std::string &ModuleFileName()
{
    static std::string path = "C:\\Program.exe";
    return path;
}
} // namespace detail

void SetModuleFileName(const std::string &path) { detail::ModuleFileName() = path; }

void SetModuleResources(const void *data, size_t size)
{
    const BYTE *bytes = (const BYTE *)data;
    detail::ResourceBytes().assign(bytes, bytes + size);
}

} // namespace sim
