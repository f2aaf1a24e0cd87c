// Build tool: writes the eight label templates into the folder given on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "output/label_rtf.h"

namespace {

// Replaces a regular file (or makes a new one) through a temporary file and a rename; anything
// else standing at the name (a link, a FIFO, a device, a folder) is refused and left alone.
bool WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::error_code status;
    const std::filesystem::file_type type = std::filesystem::symlink_status(path, status).type();
    if (type != std::filesystem::file_type::not_found &&
        type != std::filesystem::file_type::regular) {
        return false;
    }
    const std::filesystem::path temp = path.string() + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out)
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec)
        std::filesystem::remove(temp, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    for (std::size_t i = 0; i < sw::kSheetCount; ++i) {
        const sw::LabelChoice& choice = sw::kLabelChoices[i];
        const std::filesystem::path path = folder / std::string(choice.fileName);
        if (!WriteFile(path, sw::LabelTemplateRtf(choice))) {
            std::fprintf(stderr, "cannot write %s (only a regular file is replaced)\n",
                         path.string().c_str());
            return 1;
        }
    }
    return 0;
}
