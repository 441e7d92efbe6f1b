#include "ProgramImage.h"

#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <type_traits>

namespace updater {

namespace {

#if defined(__x86_64__)
constexpr uint16_t kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr uint16_t kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr uint16_t kMachine = EM_386;
#else
#error "the machine of this build has no ELF machine number here"
#endif

using Header = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
using ProgramHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Phdr, Elf32_Phdr>;
using SectionHeader = std::conditional_t<sizeof(void*) == 8, Elf64_Shdr, Elf32_Shdr>;
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kByteOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

// Whether [offset, offset + size) lies inside `total` bytes, without overflow.
bool Inside(uint64_t offset, uint64_t size, uint64_t total)
{
    return offset <= total && size <= total - offset;
}

template <typename T>
T ReadAt(const std::string& bytes, uint64_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

bool TablesInside(const std::string& bytes, const Header& header)
{
    const uint64_t total = bytes.size();
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader)
        || !Inside(header.e_phoff, uint64_t(header.e_phnum) * sizeof(ProgramHeader), total))
        return false;
    bool loads = false;
    for (uint16_t i = 0; i < header.e_phnum; ++i) {
        const auto segment = ReadAt<ProgramHeader>(bytes, header.e_phoff + uint64_t(i) * sizeof(ProgramHeader));
        if (!Inside(segment.p_offset, segment.p_filesz, total))
            return false;
        loads = loads || segment.p_type == PT_LOAD;
    }
    if (!loads)
        return false;
    if (header.e_shnum == 0)
        return true;
    if (header.e_shentsize != sizeof(SectionHeader)
        || !Inside(header.e_shoff, uint64_t(header.e_shnum) * sizeof(SectionHeader), total))
        return false;
    for (uint16_t i = 0; i < header.e_shnum; ++i) {
        const auto section = ReadAt<SectionHeader>(bytes, header.e_shoff + uint64_t(i) * sizeof(SectionHeader));
        if (section.sh_type != SHT_NOBITS && !Inside(section.sh_offset, section.sh_size, total))
            return false;
    }
    return true;
}

} // namespace

bool IsProgramImage(const std::string& bytes)
{
    if (bytes.size() < sizeof(Header))
        return false;
    const auto header = ReadAt<Header>(bytes, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != kClass
        || header.e_ident[EI_DATA] != kByteOrder || header.e_machine != kMachine
        || (header.e_type != ET_EXEC && header.e_type != ET_DYN))
        return false;
    return TablesInside(bytes, header);
}

bool IsProgramFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return !file.bad() && IsProgramImage(bytes);
}

} // namespace updater
