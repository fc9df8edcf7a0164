#include "tools/sample_writer/pe_image_writer.h"

#include <cstring>
#include <stdexcept>

#include "tools/sample_writer/filler.h"

namespace brisko {
namespace {

constexpr std::uint16_t kMachineI386 = 0x14c;
constexpr std::uint16_t kExecutable32Bit = 0x0102;  // executable image, 32-bit machine
constexpr std::uint32_t kTimeDateStamp = 0x3e000000;
constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint32_t kImageBase = 0x400000;
constexpr std::uint16_t kSubsystemWindowsGui = 2;
constexpr std::uint32_t kDataDirectoryCount = 16;

constexpr std::uint32_t kCodeSection = 0x60000020;           // code, execute, read
constexpr std::uint32_t kDataSection = 0x40000040;           // initialized data, read
constexpr std::uint32_t kUninitializedSection = 0xc0000080;  // uninitialized data, read, write

// Little-endian stores that refuse to write past the end of the image.
class ImageBytes {
public:
    explicit ImageBytes(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    void put(std::uint64_t offset, const void* data, std::size_t length) {
        if (offset > bytes_.size() || length > bytes_.size() - offset) {
            throw std::out_of_range("image plan writes past the end of the file");
        }
        std::memcpy(bytes_.data() + offset, data, length);
    }

    void put16(std::uint64_t offset, std::uint16_t value) {
        const std::uint8_t le[] = {std::uint8_t(value), std::uint8_t(value >> 8)};
        put(offset, le, sizeof le);
    }

    void put32(std::uint64_t offset, std::uint32_t value) {
        const std::uint8_t le[] = {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
                                   std::uint8_t(value >> 24)};
        put(offset, le, sizeof le);
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

std::uint32_t characteristicsOf(SectionKind kind) {
    switch (kind) {
        case SectionKind::Code: return kCodeSection;
        case SectionKind::Data: return kDataSection;
        case SectionKind::Uninitialized: return kUninitializedSection;
    }
    return 0;
}

void writeDosHeader(ImageBytes& out, const ImagePlan& plan) {
    out.put(0, "MZ", 2);
    out.put16(2, 0x90);     // bytes on the last page
    out.put16(4, 3);        // pages
    out.put16(8, 4);        // header paragraphs
    out.put16(12, 0xffff);  // most extra paragraphs
    out.put16(16, 0xb8);    // initial SP
    out.put16(24, 0x40);    // relocation table offset
    out.put32(60, plan.headerOffset);
}

void writeFileHeader(ImageBytes& out, const ImagePlan& plan) {
    const std::uint64_t at = plan.headerOffset;
    out.put(at, "PE\0\0", 4);
    out.put16(at + 4, kMachineI386);
    out.put16(at + 6, static_cast<std::uint16_t>(plan.sections.size()));
    out.put32(at + 8, kTimeDateStamp);
    out.put16(at + 20, kPeHeadersSize - 24);  // SizeOfOptionalHeader
    out.put16(at + 22, kExecutable32Bit);
}

void writeOptionalHeader(ImageBytes& out, const ImagePlan& plan) {
    std::uint32_t sizeOfCode = 0, sizeOfData = 0, sizeOfUninitialized = 0, baseOfCode = 0, baseOfData = 0;
    for (const PlannedSection& section : plan.sections) {
        switch (section.kind) {
            case SectionKind::Code:
                sizeOfCode += section.sizeOfRawData;
                if (baseOfCode == 0) baseOfCode = section.virtualAddress;
                break;
            case SectionKind::Data:
                sizeOfData += section.sizeOfRawData;
                if (baseOfData == 0) baseOfData = section.virtualAddress;
                break;
            case SectionKind::Uninitialized: sizeOfUninitialized += section.virtualSize; break;
        }
    }
    const std::uint64_t at = std::uint64_t{plan.headerOffset} + 24;
    out.put16(at + 0, kPe32Magic);
    out.put(at + 2, "\x06\x00", 2);  // linker version 6.0
    out.put32(at + 4, sizeOfCode);
    out.put32(at + 8, sizeOfData);
    out.put32(at + 12, sizeOfUninitialized);
    out.put32(at + 16, plan.entryPoint);
    out.put32(at + 20, baseOfCode);
    out.put32(at + 24, baseOfData);
    out.put32(at + 28, kImageBase);
    out.put32(at + 32, kSectionAlignment);
    out.put32(at + 36, kFileAlignment);
    out.put16(at + 40, 4);  // operating system version 4.0
    out.put16(at + 48, 4);  // subsystem version 4.0
    out.put32(at + 56, plan.sizeOfImage);
    out.put32(at + 60, plan.sizeOfHeaders);
    out.put16(at + 68, kSubsystemWindowsGui);
    out.put32(at + 72, 0x100000);  // stack reserve
    out.put32(at + 76, 0x1000);    // stack commit
    out.put32(at + 80, 0x100000);  // heap reserve
    out.put32(at + 84, 0x1000);    // heap commit
    out.put32(at + 92, kDataDirectoryCount);
}

void writeSectionTable(ImageBytes& out, const ImagePlan& plan) {
    std::uint64_t at = std::uint64_t{plan.headerOffset} + kPeHeadersSize;
    for (const PlannedSection& section : plan.sections) {
        out.put(at, section.name, std::strlen(section.name));
        out.put32(at + 8, section.virtualSize);
        out.put32(at + 12, section.virtualAddress);
        out.put32(at + 16, section.sizeOfRawData);
        out.put32(at + 20, section.pointerToRawData);
        out.put32(at + 36, characteristicsOf(section.kind));
        at += kSectionEntrySize;
    }
    if (at > plan.sizeOfHeaders) throw std::out_of_range("section table runs past the headers");
}

}  // namespace

std::vector<std::uint8_t> writeImage(const ImagePlan& plan, const ThreatSignature& record) {
    // Headers are zero between their fields, like a linker leaves them;
    // everything past them starts as filler.
    std::vector<std::uint8_t> bytes(plan.fileLength, 0);
    for (std::uint64_t offset = plan.sizeOfHeaders; offset < bytes.size(); ++offset) {
        bytes[offset] = fillerByte(offset);
    }
    ImageBytes out(bytes);
    writeDosHeader(out, plan);
    writeFileHeader(out, plan);
    writeOptionalHeader(out, plan);
    writeSectionTable(out, plan);
    out.put(plan.probeFileOffset1, record.probeBytes1, kProbeLength);
    out.put(plan.probeFileOffset2, record.probeBytes2, kProbeLength);
    return bytes;
}

}  // namespace brisko
