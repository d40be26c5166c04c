// corpus: writes the bad-input corpus (tests/support/corpus.h) into a folder, for the end-to-end
// runs: every picture, then every template name (a copy of the good JPEG).
//   corpus FOLDER       prints one line per file: name, what a picture box shows, what it is (UTF-8)
// Exit status 0 when every file was written.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/forms.h"
#include "assets/resource.h"
#include "tests/support/corpus.h"

namespace {

const char* showsName(corpus::Shows shows) {
    switch (shows) {
    case corpus::Shows::picture: return "picture";
    case corpus::Shows::nothing: return "nothing";
    case corpus::Shows::either: return "either";
    }
    return "?";
}

void printLine(const std::u8string& name, const char* shows, const char* what) {
    std::printf("%s\t%s\t%s\n", reinterpret_cast<const char*>(name.c_str()), shows, what);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) {
        std::fprintf(stderr, "usage: corpus FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    LocalFree(argv);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<uint8_t> jpeg = resourceBytes(IDR_DEFAULT_TEMPLATE);
    if (jpeg.empty() || !corpus::writeAll(folder, jpeg)) return 1;
    for (const corpus::Picture& p : corpus::pictures(jpeg)) printLine(p.name, showsName(p.shows), p.what);
    for (const corpus::Name& n : corpus::templateNames())
        printLine(n.name, n.ansiExpressible ? "picture" : "nothing", "a template name");
    return 0;
}
