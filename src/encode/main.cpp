#include <cstdio>
#include <string>
#include <vector>

#include "encode/encoder_cli.h"
#include "encode/picture_loader.h"
#include "encode/sheet_loader.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return sw::EncoderMain(args, stdin, stdout, stderr, sw::LoadedPictureWriter(),
                           sw::LoadedSheetWriter());
}
