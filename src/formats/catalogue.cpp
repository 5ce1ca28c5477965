#include "formats/catalogue.h"

#include <utility>

#include "platform/text.h"

namespace vantor {
namespace {

struct InputRow {
    const char* mainExtension;
    const char* extensions;  // main first, comma-separated
    const char* description;
};

const InputRow kInputRows[] = {
    {"bmp", "bmp,rle,dib", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf,emz", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr,hdri", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg,jpeg,jpe,jif", "JPEG File"},
    {"pcd", "pcd,pcd1,pcds,ppcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic,pict,pct", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga,targa", "Truevision Targa"},
    {"tiff", "tiff,tif", "Tagged Image File Format"},
    {"wmf", "wmf,wmz", "Windows Metafile Format"},
    {"wmf", "apm", "Aldus Placeable Metafile"},
    {"raw", "raw,raw1,raw2", "Camera RAW Image"},
    {"raw", "3fr", "Hasselblad Camera RAW Image"},
    {"raw", "arw,sr2,srf", "Sony Camera RAW Image"},
    {"raw", "bay", "Casio Camera RAW Image"},
    {"raw", "bmq", "NuCore RAW Image"},
    {"raw", "cap,iiq,eip", "Phase One Camera RAW Image"},
    {"raw", "cine", "Phantom RAW Image"},
    {"raw", "cr2,crw", "Canon Camera RAW Image"},
    {"raw", "cs1", "Capture Shop RAW Image"},
    {"raw", "dc2,dcr,drf,dsc,k25,kc2,kdc,dcs", "Kodak Camera RAW Image"},
    {"raw", "dng", "Adobe Digital Negative Image"},
    {"raw", "erf", "Epson Camera RAW Image"},
    {"raw", "fff", "Imacon Camera RAW Image"},
    {"raw", "ia,sti", "Sinar RAW Image"},
    {"raw", "mdc,mrw", "Minolta Camera RAW Image"},
    {"raw", "mef,mos", "Mamiya Camera RAW Image"},
    {"raw", "nef,nrw", "Nikon Camera RAW Image"},
    {"raw", "orf", "Olympus Camera RAW Image"},
    {"raw", "pef,ptx", "Pentax Camera RAW Image"},
    {"raw", "pxn", "Logitech Camera RAW Image"},
    {"raw", "qtk", "Apple Quicktake Camera RAW Image"},
    {"raw", "raf", "Fuji Camera RAW Image"},
    {"raw", "rdc", "Digital Foto Maker RAW Image"},
    {"raw", "rw2", "Panasonic Camera RAW Image"},
    {"raw", "rwz", "Rawzor Camera RAW Image"},
    {"raw", "x3f", "Sigma Camera RAW Image"},
    {"raw", "ari", "ARRI RAW Image"},
    {"raw", "r3d", "RED RAW Image"},
    {"raw", "rwl", "Leica Camera RAW Image"},
};

const OutputFormatEntry kOutputRows[] = {
    {"bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {"exr", "ILM OpenEXR", "96"},
    {"gif", "Graphics Interchange Format", "8"},
    {"hdr", "High Dynamic Range Image", "96"},
    {"ico", "Windows Icon", "1,4,8,16,24,32"},
    {"j2k", "JPEG-2000 Codestream", "8,24,32,48"},
    {"jng", "JPEG Network Graphics", "24,32"},
    {"jp2", "JPEG-2000 File Format", "8,24,32,48"},
    {"jpg", "JPEG File Format", "8,24"},
    {"jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {"pbm", "Portable Bitmap", "1"},
    {"pfm", "Portable Floatmap", "96"},
    {"pgm", "Portable Greymap", "8"},
    {"png", "Portable Network Graphics", "1,4,8,24,32,48"},
    {"ppm", "Portable Pixelmap", "24,48"},
    {"tga", "Truevision Targa", "8,16,24,32"},
    {"tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {"wbmp", "Wireless Bitmap", "1"},
    {"webp", "Google WebP Image Format", "24,32"},
    {"xpm", "X11 Pixmap Format", "24"},
    {"psd", "Adobe Photoshop", "32"},
    {"dds", "DirectDraw Surface", "32"},
    {"pcx", "ZSoft Paintbrush", "24"},
};

std::vector<std::string>& Accepted() {
    static std::vector<std::string> accepted{"psd"};
    return accepted;
}

}  // namespace

const std::vector<std::string>& InputFormatList() {
    static const std::vector<std::string> list{"psd"};
    return list;
}

const std::vector<std::string>& OutputFormatList() {
    static const std::vector<std::string> list{"dds"};
    return list;
}

const std::vector<InputFormatEntry>& InputCatalogue() {
    static const std::vector<InputFormatEntry> catalogue = [] {
        std::vector<InputFormatEntry> entries;
        for (const InputRow& row : kInputRows)
            for (const std::string& ext : Split(row.extensions, ','))
                entries.push_back({ext, row.mainExtension, row.description});
        return entries;
    }();
    return catalogue;
}

const std::vector<OutputFormatEntry>& OutputCatalogue() {
    static const std::vector<OutputFormatEntry> catalogue(std::begin(kOutputRows),
                                                          std::end(kOutputRows));
    return catalogue;
}

InputFormatEntry FindInputFormat(const std::string& extension) {
    for (const InputFormatEntry& e : InputCatalogue())
        if (e.extension == extension) return e;
    return {};
}

OutputFormatEntry FindOutputFormat(const std::string& extension) {
    for (const OutputFormatEntry& e : OutputCatalogue())
        if (e.extension == extension) return e;
    return {};
}

void BuildInputExtensions() {
    std::string text;
    for (const std::string& format : InputFormatList())
        for (const InputFormatEntry& e : InputCatalogue())
            if (e.mainExtension == format) text += e.extension + ",";
    if (!text.empty()) text.pop_back();
    Accepted() = Split(text, ',');
}

const std::vector<std::string>& AcceptedInputExtensions() { return Accepted(); }

bool IsAcceptedExtension(const std::string& extension) {
    for (const std::string& e : Accepted())
        if (e == extension) return true;
    return false;
}

std::string InputFileFilter(const std::string& allSupportedText, const std::string& allFilesText) {
    std::string allPatterns;
    std::vector<std::pair<std::string, std::string>> byDescription;  // first-recorded order
    for (const std::string& ext : Accepted()) {
        std::string pattern = "*." + ext;
        allPatterns += pattern + ";";
        std::string description = FindInputFormat(ext).description;
        bool found = false;
        for (auto& [desc, patterns] : byDescription) {
            if (desc == description) {
                patterns = pattern + ";" + patterns;
                found = true;
                break;
            }
        }
        if (!found) byDescription.emplace_back(description, pattern);
    }
    if (!allPatterns.empty()) allPatterns.pop_back();
    std::string filter = allSupportedText + "|" + allPatterns + "|";
    for (const auto& [desc, patterns] : byDescription) filter += desc + "|" + patterns + "|";
    filter += allFilesText + " (*.*)|*.*";
    return filter;
}

std::string OutputDepths(const std::string& extension) { return FindOutputFormat(extension).depths; }

}  // namespace vantor
