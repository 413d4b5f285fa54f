// Reads a Windows executable's import and delay-import tables and checks
// that every call through them can land: each import slot holds what the
// loader (or the delay-load thunk) needs, every indirect call in the code
// goes through a slot that belongs to a named import, and every imported
// name is exported by the DLL of the same architecture that Wine ships.
// Checks too that the image is hardened as Windows can enforce: relocatable
// with a relocation table (ASLR), data not executable (DEP), a 64-bit image
// placed anywhere in its address space, and no section both writable and
// executable.
//   import_check EXE WINE_DLL_DIR
// Prints one line per DLL, one per notable import, the hardening, and a
// verdict; exits 1 when anything would fail at run time or is not hardened.
#include <ctype.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const uint16_t kMachineI386 = 0x14c;
const uint16_t kMachineAmd64 = 0x8664;
const uint32_t kScnExecute = 0x20000000;
const uint32_t kScnCode = 0x00000020;
const uint32_t kScnWrite = 0x80000000;
const int kExportDirectory = 0, kImportDirectory = 1, kRelocationDirectory = 5, kDelayImportDirectory = 13;
const uint16_t kRelocsStripped = 0x0001;
const uint16_t kHighEntropyVa = 0x0020, kDynamicBase = 0x0040, kNxCompat = 0x0100;

struct Section {
    std::string name;
    uint32_t rva, virtualSize, fileOffset, fileSize, flags;
};

// One PE image on disk, addressed by RVA.
class PeImage {
public:
    bool Load(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return Parse();
    }
    uint16_t machine() const { return machine_; }
    bool is64() const { return is64_; }
    uint64_t imageBase() const { return imageBase_; }
    uint32_t sizeOfImage() const { return sizeOfImage_; }
    uint16_t characteristics() const { return characteristics_; }
    uint16_t dllCharacteristics() const { return dllCharacteristics_; }
    uint32_t slotSize() const { return is64_ ? 8 : 4; }
    const std::vector<Section> &sections() const { return sections_; }
    void Directory(int index, uint32_t *rva, uint32_t *size) const
    {
        *rva = index < (int)directories_.size() ? directories_[index].first : 0;
        *size = index < (int)directories_.size() ? directories_[index].second : 0;
    }

    const Section *SectionAt(uint32_t rva) const
    {
        for (const Section &s : sections_)
            if (rva >= s.rva && rva < s.rva + (s.virtualSize ? s.virtualSize : s.fileSize))
                return &s;
        return NULL;
    }
    bool IsCode(uint32_t rva) const
    {
        const Section *s = SectionAt(rva);
        return s && (s->flags & (kScnExecute | kScnCode));
    }
    bool IsWritable(uint32_t rva) const
    {
        const Section *s = SectionAt(rva);
        return s && (s->flags & kScnWrite);
    }
    // The file bytes behind rva, or NULL where the image holds none (.bss).
    const uint8_t *At(uint32_t rva, uint32_t length) const
    {
        const Section *s = SectionAt(rva);
        if (s == NULL || rva - s->rva + (uint64_t)length > s->fileSize)
            return NULL;
        uint64_t offset = (uint64_t)s->fileOffset + (rva - s->rva);
        return offset + length <= bytes_.size() ? &bytes_[offset] : NULL;
    }
    bool U32(uint32_t rva, uint32_t *value) const
    {
        const uint8_t *p = At(rva, 4);
        if (p)
            *value = Le(p, 4);
        return p != NULL;
    }
    bool Slot(uint32_t rva, uint64_t *value) const
    {
        const uint8_t *p = At(rva, slotSize());
        if (p)
            *value = Le(p, slotSize());
        return p != NULL;
    }
    // A zero-terminated string of printable characters at rva.
    bool String(uint32_t rva, std::string *text) const
    {
        text->clear();
        for (uint32_t i = 0; i < 4096; ++i) {
            const uint8_t *p = At(rva + i, 1);
            if (p == NULL)
                return false;
            if (*p == 0)
                return !text->empty();
            if (*p < 0x20 || *p > 0x7e)
                return false;
            *text += (char)*p;
        }
        return false;
    }
    // Symbols of the COFF symbol table, by name, as RVAs (Wine's DLLs keep
    // theirs; a stripped image has none).
    std::map<std::string, uint32_t> Symbols() const;

    static uint64_t Le(const uint8_t *p, int width)
    {
        uint64_t v = 0;
        for (int i = width - 1; i >= 0; --i)
            v = v << 8 | p[i];
        return v;
    }

private:
    bool Parse();
    uint64_t FileLe(uint64_t offset, int width) const
    {
        return offset + width <= bytes_.size() ? Le(&bytes_[offset], width) : 0;
    }

    std::vector<uint8_t> bytes_;
    uint16_t machine_ = 0, characteristics_ = 0, dllCharacteristics_ = 0;
    bool is64_ = false;
    uint64_t imageBase_ = 0;
    uint32_t sizeOfImage_ = 0, symbolTable_ = 0, symbolCount_ = 0;
    std::vector<std::pair<uint32_t, uint32_t>> directories_;
    std::vector<Section> sections_;
};

bool PeImage::Parse()
{
    if (bytes_.size() < 0x40 || bytes_[0] != 'M' || bytes_[1] != 'Z')
        return false;
    uint64_t pe = FileLe(0x3c, 4);
    if (FileLe(pe, 4) != 0x00004550)
        return false;
    uint64_t coff = pe + 4;
    machine_ = (uint16_t)FileLe(coff, 2);
    uint32_t sectionCount = (uint32_t)FileLe(coff + 2, 2);
    symbolTable_ = (uint32_t)FileLe(coff + 8, 4);
    symbolCount_ = (uint32_t)FileLe(coff + 12, 4);
    uint32_t optionalSize = (uint32_t)FileLe(coff + 16, 2);
    characteristics_ = (uint16_t)FileLe(coff + 18, 2);
    uint64_t optional = coff + 20;
    dllCharacteristics_ = (uint16_t)FileLe(optional + 70, 2);
    uint16_t magic = (uint16_t)FileLe(optional, 2);
    if (magic != 0x10b && magic != 0x20b)
        return false;
    is64_ = magic == 0x20b;
    imageBase_ = is64_ ? FileLe(optional + 24, 8) : FileLe(optional + 28, 4);
    sizeOfImage_ = (uint32_t)FileLe(optional + 56, 4);
    uint64_t countAt = optional + (is64_ ? 108 : 92);
    uint32_t directoryCount = (uint32_t)FileLe(countAt, 4);
    for (uint32_t i = 0; i < directoryCount && i < 16; ++i)
        directories_.push_back({(uint32_t)FileLe(countAt + 4 + 8 * i, 4), (uint32_t)FileLe(countAt + 8 + 8 * i, 4)});
    uint64_t table = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i) {
        uint64_t h = table + 40 * i;
        if (h + 40 > bytes_.size())
            return false;
        Section s;
        s.name.assign((const char *)&bytes_[h], strnlen((const char *)&bytes_[h], 8));
        s.virtualSize = (uint32_t)FileLe(h + 8, 4);
        s.rva = (uint32_t)FileLe(h + 12, 4);
        s.fileSize = (uint32_t)FileLe(h + 16, 4);
        s.fileOffset = (uint32_t)FileLe(h + 20, 4);
        s.flags = (uint32_t)FileLe(h + 36, 4);
        sections_.push_back(s);
    }
    return true;
}

std::map<std::string, uint32_t> PeImage::Symbols() const
{
    std::map<std::string, uint32_t> symbols;
    uint64_t strings = (uint64_t)symbolTable_ + 18ull * symbolCount_;
    if (symbolTable_ == 0 || strings > bytes_.size())
        return symbols;
    for (uint32_t i = 0; i < symbolCount_; ++i) {
        uint64_t s = symbolTable_ + 18ull * i;
        std::string name;
        if (FileLe(s, 4) == 0) {
            uint64_t at = strings + FileLe(s + 4, 4);
            while (at < bytes_.size() && bytes_[at])
                name += (char)bytes_[at++];
        } else {
            name.assign((const char *)&bytes_[s], strnlen((const char *)&bytes_[s], 8));
        }
        int16_t sectionNumber = (int16_t)FileLe(s + 12, 2);
        if (sectionNumber > 0 && (size_t)sectionNumber <= sections_.size())
            symbols[name] = sections_[sectionNumber - 1].rva + (uint32_t)FileLe(s + 8, 4);
        i += (uint32_t)FileLe(s + 17, 1); // auxiliary records
    }
    return symbols;
}

// --- The imports -------------------------------------------------------------

struct Import {
    std::string dll, name; // name empty for an import by ordinal
    uint32_t ordinal = 0;
    uint32_t slotRva = 0;
    bool delayed = false;
    int calls = 0;
};

struct ImportTable {
    std::vector<Import> imports;
    std::set<uint32_t> slotAreas; // every slot of every IAT, terminators included
    std::vector<std::string> problems;
};

std::string Hex(uint64_t v)
{
    char text[24];
    snprintf(text, sizeof(text), "0x%llx", (unsigned long long)v);
    return text;
}

// Reads one thunk of a name table: an ordinal, or the RVA of a hint and name.
bool ReadNameEntry(const PeImage &pe, uint64_t entry, Import *import)
{
    uint64_t ordinalFlag = pe.is64() ? 1ull << 63 : 1ull << 31;
    if (entry & ordinalFlag) {
        import->ordinal = (uint32_t)(entry & 0xffff);
        return true;
    }
    return entry < pe.sizeOfImage() && pe.String((uint32_t)entry + 2, &import->name);
}

std::string Describe(const Import &i)
{
    return i.dll + "!" + (i.name.empty() ? "#" + std::to_string(i.ordinal) : i.name);
}

// Ordinary imports: the loader fills each slot from its name-table twin, so
// on disk the slot must still name the import.
void ReadImports(const PeImage &pe, ImportTable *table)
{
    uint32_t rva, size;
    pe.Directory(kImportDirectory, &rva, &size);
    for (uint32_t d = rva; rva && d + 20 <= rva + size; d += 20) {
        uint32_t names, nameRva, iat;
        if (!pe.U32(d, &names) || !pe.U32(d + 12, &nameRva) || !pe.U32(d + 16, &iat))
            break;
        if (nameRva == 0 && iat == 0)
            break;
        std::string dll;
        if (!pe.String(nameRva, &dll)) {
            table->problems.push_back("an import descriptor names no DLL");
            continue;
        }
        uint32_t list = names ? names : iat;
        for (uint32_t i = 0;; ++i) {
            uint64_t entry = 0, slot = 0;
            uint32_t slotRva = iat + i * pe.slotSize();
            table->slotAreas.insert(slotRva);
            if (!pe.Slot(list + i * pe.slotSize(), &entry) || !pe.Slot(slotRva, &slot)) {
                table->problems.push_back(dll + ": import table runs out of the image");
                break;
            }
            if (entry == 0) {
                if (slot != 0)
                    table->problems.push_back(dll + ": slot " + Hex(pe.imageBase() + slotRva) +
                                              " past the last name is not empty");
                break;
            }
            Import import;
            import.dll = dll;
            import.slotRva = slotRva;
            if (!ReadNameEntry(pe, entry, &import))
                table->problems.push_back(dll + ": entry " + std::to_string(i) + " names nothing readable");
            else if (slot != entry)
                table->problems.push_back(Describe(import) + ": slot " + Hex(pe.imageBase() + slotRva) +
                                          " does not name the import (" + Hex(slot) + ")");
            table->imports.push_back(import);
        }
    }
}

// A delay-load descriptor: attributes, DLL name, module handle, IAT, INT,
// bound IAT, unload IAT, time stamp.
struct DelayDescriptor {
    uint32_t attributes, name, module, iat, names;
};

bool LooksLikeDelayDescriptor(const PeImage &pe, uint32_t at, DelayDescriptor *d)
{
    uint32_t v[8];
    for (int i = 0; i < 8; ++i)
        if (!pe.U32(at + 4 * i, &v[i]))
            return false;
    *d = {v[0], v[1], v[2], v[3], v[4]};
    std::string dll;
    if (v[0] != 1 || !pe.String(v[1], &dll) || dll.find('.') == std::string::npos)
        return false;
    if (!pe.IsWritable(v[2]) || !pe.IsWritable(v[3]) || v[4] == 0 || v[4] >= pe.sizeOfImage())
        return false;
    uint64_t first = 0;
    Import probe;
    return pe.Slot(v[4], &first) && first != 0 && ReadNameEntry(pe, first, &probe);
}

// MinGW's linker leaves the delay-import directory empty, so the
// descriptors are looked for where its delay-load library puts them.
std::vector<DelayDescriptor> FindDelayDescriptors(const PeImage &pe, bool *fromDirectory)
{
    std::vector<DelayDescriptor> found;
    uint32_t rva, size;
    pe.Directory(kDelayImportDirectory, &rva, &size);
    *fromDirectory = rva != 0;
    DelayDescriptor d;
    if (rva) {
        for (uint32_t at = rva; LooksLikeDelayDescriptor(pe, at, &d); at += 32)
            found.push_back(d);
        return found;
    }
    for (const Section &s : pe.sections())
        for (uint32_t at = s.rva; at + 32 <= s.rva + s.fileSize; at += 4)
            if (LooksLikeDelayDescriptor(pe, at, &d))
                found.push_back(d);
    return found;
}

// The thunk a delay slot starts out pointing at must hand that very slot to
// the delay-load helper: mov eax, slot (i386) or lea rax, [rip + slot].
bool ThunkLoadsSlot(const PeImage &pe, uint32_t thunk, uint32_t slotRva)
{
    const uint8_t *code = pe.At(thunk, 7);
    if (code == NULL)
        return false;
    if (!pe.is64())
        return code[0] == 0xB8 && PeImage::Le(code + 1, 4) == pe.imageBase() + slotRva;
    int32_t displacement = (int32_t)PeImage::Le(code + 3, 4);
    return code[0] == 0x48 && code[1] == 0x8D && code[2] == 0x05 && thunk + 7 + displacement == slotRva;
}

void ReadDelayImports(const PeImage &pe, ImportTable *table, std::vector<std::string> *notes)
{
    bool fromDirectory = false;
    std::vector<DelayDescriptor> descriptors = FindDelayDescriptors(pe, &fromDirectory);
    if (!descriptors.empty() && !fromDirectory)
        notes->push_back("the delay-import directory entry is empty (as MinGW's linker leaves it); "
                         "descriptors found in the image: " + std::to_string(descriptors.size()));
    for (const DelayDescriptor &d : descriptors) {
        std::string dll;
        pe.String(d.name, &dll);
        for (uint32_t i = 0;; ++i) {
            uint64_t entry = 0, slot = 0;
            uint32_t slotRva = d.iat + i * pe.slotSize();
            table->slotAreas.insert(slotRva);
            if (!pe.Slot(d.names + i * pe.slotSize(), &entry) || !pe.Slot(slotRva, &slot) || entry == 0)
                break;
            Import import;
            import.dll = dll;
            import.slotRva = slotRva;
            import.delayed = true;
            if (!ReadNameEntry(pe, entry, &import))
                table->problems.push_back(dll + ": delay entry " + std::to_string(i) + " names nothing readable");
            uint64_t thunk = slot - pe.imageBase();
            std::string where = Describe(import) + ": delay slot " + Hex(pe.imageBase() + slotRva);
            if (slot == 0)
                table->problems.push_back(where + " is empty: the first call jumps to address 0");
            else if (slot < pe.imageBase() || !pe.IsCode((uint32_t)thunk))
                table->problems.push_back(where + " points outside the image's code (" + Hex(slot) + ")");
            else if (!ThunkLoadsSlot(pe, (uint32_t)thunk, slotRva))
                table->problems.push_back(where + " points at code that is not its own loading thunk");
            table->imports.push_back(import);
        }
    }
}

// Indirect calls and jumps through memory (FF 15 / FF 25): absolute on
// i386, relative to the next instruction on x86_64. Every one that lands in
// an import address table must use a slot of a named import.
void CheckCallSites(const PeImage &pe, ImportTable *table)
{
    std::map<uint32_t, Import *> bySlot;
    for (Import &i : table->imports)
        bySlot[i.slotRva] = &i;
    for (const Section &s : pe.sections()) {
        if (!(s.flags & (kScnExecute | kScnCode)))
            continue;
        const uint8_t *code = pe.At(s.rva, s.fileSize);
        for (uint32_t at = 0; code && at + 6 <= s.fileSize; ++at) {
            if (code[at] != 0xFF || (code[at + 1] != 0x15 && code[at + 1] != 0x25))
                continue;
            int64_t operand = (int32_t)PeImage::Le(code + at + 2, 4);
            uint64_t target = pe.is64() ? (uint64_t)(s.rva + at + 6 + operand) : (uint32_t)operand - pe.imageBase();
            if (table->slotAreas.count((uint32_t)target) == 0)
                continue;
            auto slot = bySlot.find((uint32_t)target);
            if (slot == bySlot.end())
                table->problems.push_back("code at " + Hex(pe.imageBase() + s.rva + at) + " calls through slot " +
                                          Hex(pe.imageBase() + target) + ", which belongs to no import");
            else
                ++slot->second->calls;
        }
    }
}

// --- Wine's DLLs ------------------------------------------------------------------

struct Export {
    uint32_t rva;
    std::string forwarder; // "dll.name", or empty
};

class WineDll {
public:
    bool Load(const std::string &path)
    {
        if (!pe_.Load(path))
            return false;
        uint32_t rva, size, count, base, addresses, names, ordinals;
        pe_.Directory(kExportDirectory, &rva, &size);
        if (rva == 0 || !pe_.U32(rva + 16, &base) || !pe_.U32(rva + 24, &count) || !pe_.U32(rva + 28, &addresses) ||
            !pe_.U32(rva + 32, &names) || !pe_.U32(rva + 36, &ordinals))
            return true; // exports nothing
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t nameRva = 0, function = 0;
            const uint8_t *index = pe_.At(ordinals + 2 * i, 2);
            if (!pe_.U32(names + 4 * i, &nameRva) || index == NULL ||
                !pe_.U32(addresses + 4 * (uint32_t)PeImage::Le(index, 2), &function))
                continue;
            std::string name;
            pe_.String(nameRva, &name);
            Export e = {function, ""};
            if (function >= rva && function < rva + size)
                pe_.String(function, &e.forwarder);
            byName_[name] = e;
            byOrdinal_[base + (uint32_t)PeImage::Le(index, 2)] = e;
        }
        for (const auto &symbol : pe_.Symbols()) {
            size_t at = symbol.first.find("__wine_stub_");
            if (at != std::string::npos)
                stubs_.insert(symbol.second);
        }
        return true;
    }
    const Export *Find(const Import &import) const
    {
        if (import.name.empty()) {
            auto e = byOrdinal_.find(import.ordinal);
            return e == byOrdinal_.end() ? NULL : &e->second;
        }
        auto e = byName_.find(import.name);
        return e == byName_.end() ? NULL : &e->second;
    }
    bool IsStub(const Export &e) const { return e.forwarder.empty() && stubs_.count(e.rva) != 0; }
    uint16_t machine() const { return pe_.machine(); }

private:
    PeImage pe_;
    std::map<std::string, Export> byName_;
    std::map<uint32_t, Export> byOrdinal_;
    std::set<uint32_t> stubs_;
};

class WineDlls {
public:
    WineDlls(const std::string &dir, uint16_t machine) : dir_(dir), machine_(machine) {}
    const WineDll *Get(std::string name)
    {
        for (char &c : name)
            c = (char)tolower((unsigned char)c);
        if (name.find('.') == std::string::npos)
            name += ".dll";
        auto found = loaded_.find(name);
        if (found != loaded_.end())
            return found->second.get();
        std::unique_ptr<WineDll> dll(new WineDll);
        if (!dll->Load(dir_ + "/" + name) || dll->machine() != machine_)
            dll.reset();
        return (loaded_[name] = std::move(dll)).get();
    }

private:
    std::string dir_;
    uint16_t machine_;
    std::map<std::string, std::unique_ptr<WineDll>> loaded_;
};

// Follows forwarders to the export that really runs. "" when found, else
// why not; *where says where it ended and *stub whether Wine only stubs it.
std::string Resolve(WineDlls &dlls, Import import, std::string *where, bool *stub)
{
    for (int hops = 0; hops < 8; ++hops) {
        const WineDll *dll = dlls.Get(import.dll);
        if (dll == NULL)
            return "Wine ships no " + import.dll + " for this architecture";
        const Export *e = dll->Find(import);
        if (e == NULL)
            return "not exported by Wine's " + import.dll;
        *where = Describe(import);
        if (e->forwarder.empty()) {
            *stub = dll->IsStub(*e);
            return "";
        }
        size_t dot = e->forwarder.rfind('.');
        import.dll = e->forwarder.substr(0, dot);
        import.name = e->forwarder.substr(dot + 1);
        import.ordinal = 0;
        if (!import.name.empty() && import.name[0] == '#') {
            import.ordinal = (uint32_t)atoi(import.name.c_str() + 1);
            import.name.clear();
        }
    }
    return "forwarded round in circles";
}

// --- Hardening ----------------------------------------------------------------

// What the image asks of Windows' loader, as a line; what it lacks, as
// problems.
std::string CheckHardening(const PeImage &pe, std::vector<std::string> *problems)
{
    uint32_t relocations, relocationSize;
    pe.Directory(kRelocationDirectory, &relocations, &relocationSize);
    uint16_t flags = pe.dllCharacteristics();
    const struct {
        bool applies, held;
        const char *what;
    } checks[] = {
        {true, (flags & kDynamicBase) != 0, "DYNAMIC_BASE"},
        {true, (flags & kNxCompat) != 0, "NX_COMPAT"},
        {pe.is64(), (flags & kHighEntropyVa) != 0, "HIGH_ENTROPY_VA"},
        {true, relocationSize != 0 && !(pe.characteristics() & kRelocsStripped), "a relocation table"},
    };
    std::string held;
    for (const auto &check : checks) {
        if (check.applies && check.held)
            held += std::string(held.empty() ? "" : ", ") + check.what;
        else if (check.applies)
            problems->push_back(std::string("the image lacks ") + check.what);
    }
    for (const Section &s : pe.sections())
        if ((s.flags & kScnWrite) && (s.flags & kScnExecute))
            problems->push_back("section " + s.name + " is both writable and executable");
    return held;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: import_check EXE WINE_DLL_DIR\n");
        return 2;
    }
    PeImage exe;
    if (!exe.Load(argv[1]) || (exe.machine() != kMachineI386 && exe.machine() != kMachineAmd64)) {
        fprintf(stderr, "%s: not an i386 or x86_64 PE image\n", argv[1]);
        return 2;
    }
    ImportTable table;
    std::vector<std::string> notes;
    ReadImports(exe, &table);
    ReadDelayImports(exe, &table, &notes);
    CheckCallSites(exe, &table);

    printf("%s (%s)\n", argv[1], exe.is64() ? "x86_64" : "i386");
    for (const std::string &note : notes)
        printf("  note: %s\n", note.c_str());
    WineDlls wine(argv[2], exe.machine());
    std::map<std::string, std::vector<const Import *>> byDll;
    for (const Import &i : table.imports)
        byDll[i.dll + (i.delayed ? " (delay-loaded)" : "")].push_back(&i);
    int stubs = 0;
    for (const auto &dll : byDll) {
        int calls = 0, forwarded = 0;
        std::vector<std::string> stubbed;
        for (const Import *i : dll.second) {
            calls += i->calls;
            std::string where;
            bool stub = false;
            std::string why = Resolve(wine, *i, &where, &stub);
            if (!why.empty())
                table.problems.push_back(Describe(*i) + ": " + why);
            else if (stub)
                stubbed.push_back(Describe(*i) + (where != Describe(*i) ? " (as " + where + ")" : ""));
            forwarded += why.empty() && where != Describe(*i);
        }
        printf("  %s: %zu imports, %d indirect calls through their slots, %d forwarded by Wine\n", dll.first.c_str(),
               dll.second.size(), calls, forwarded);
        for (const std::string &s : stubbed)
            printf("    %s: Wine only stubs it\n", s.c_str());
        stubs += (int)stubbed.size();
    }
    printf("  hardening: %s\n", CheckHardening(exe, &table.problems).c_str());
    for (const std::string &problem : table.problems)
        printf("  FAIL %s\n", problem.c_str());
    printf("%s: %zu imports, %d stubbed by Wine, %zu problems\n", table.problems.empty() ? "ok" : "FAILED",
           table.imports.size(), stubs, table.problems.size());
    return table.problems.empty() ? 0 : 1;
}
