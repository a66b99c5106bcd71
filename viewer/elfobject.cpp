// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "elfobject.h"

#include <QFile>

#include <elf.h>
#include <link.h>

#include <cstring>

namespace {

#if defined(__x86_64__)
const int HostMachine = EM_X86_64;
#elif defined(__aarch64__)
const int HostMachine = EM_AARCH64;
#elif defined(__i386__)
const int HostMachine = EM_386;
#elif defined(__arm__)
const int HostMachine = EM_ARM;
#else
const int HostMachine = EM_NONE; // not checked
#endif

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const unsigned char HostByteOrder = ELFDATA2LSB;
#else
const unsigned char HostByteOrder = ELFDATA2MSB;
#endif

const unsigned char HostClass = sizeof(void *) == 8 ? ELFCLASS64 : ELFCLASS32;

// Offsets and sizes come from the file: add them without wrapping around.
bool fits(quint64 offset, quint64 length, quint64 fileSize)
{
    return offset <= fileSize && length <= fileSize - offset;
}

bool readAt(QFile &file, quint64 offset, void *data, qint64 size)
{
    return file.seek(static_cast<qint64>(offset)) && file.read(static_cast<char *>(data), size) == size;
}

} // namespace

QString ElfObject::problem(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return tr("cannot be read (%1)").arg(file.errorString());
    const quint64 size = static_cast<quint64>(file.size());

    ElfW(Ehdr) header;
    if (size < sizeof(header) || !readAt(file, 0, &header, sizeof(header))
        || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return tr("not an ELF shared library");
    if (header.e_ident[EI_CLASS] != HostClass || header.e_ident[EI_DATA] != HostByteOrder
        || (HostMachine != EM_NONE && header.e_machine != HostMachine))
        return tr("built for another kind of machine");
    if (header.e_type != ET_DYN)
        return tr("not a shared library");

    if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0
        || !fits(header.e_phoff, quint64(header.e_phnum) * sizeof(ElfW(Phdr)), size))
        return tr("damaged: its program headers lie outside the file");

    int loadable = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        if (!readAt(file, header.e_phoff + quint64(i) * sizeof(segment), &segment, sizeof(segment)))
            return tr("cannot be read (%1)").arg(file.errorString());
        if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC)
            continue;
        loadable += segment.p_type == PT_LOAD ? 1 : 0;
        if (!fits(segment.p_offset, segment.p_filesz, size))
            return tr("truncated: a segment ends at byte %1, past the end of the file (%2 bytes)")
                .arg(quint64(segment.p_offset) + quint64(segment.p_filesz))
                .arg(size);
    }
    if (loadable == 0)
        return tr("damaged: nothing in it can be loaded");
    // Qt finds a plug-in's metadata through the section table.
    if (header.e_shoff != 0
        && (header.e_shentsize != sizeof(ElfW(Shdr))
            || !fits(header.e_shoff, quint64(header.e_shnum) * sizeof(ElfW(Shdr)), size)))
        return tr("truncated: its section table ends past the end of the file (%1 bytes)").arg(size);
    return QString();
}
