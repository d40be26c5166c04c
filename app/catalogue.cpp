#include "app/catalogue.h"

#include <vector>

#include "app/forms.h"
#include "app/mainwindow.h"

std::string programDirectory() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            std::string directory(path.data(), length);
            const size_t slash = directory.find_last_of("\\/");
            directory.erase(slash == std::string::npos ? 0 : slash);
            return directory;
        }
        path.resize(path.size() * 2);
    }
}

std::string templateFolder() { return programDirectory() + "\\模板\\"; }

// Only names that really end in ".jpg": the short 8.3 alias that the platform's pattern match also
// looks at (so that "card.jpeg" or "card.jpg1" would match too) exists on some volumes and not on
// others, and a listing should not depend on that.
bool isTemplateName(const char* name) {
    const size_t length = lstrlenA(name);
    return length >= 4 && lstrcmpiA(name + length - 4, ".jpg") == 0;
}

namespace {

// How often a growing list is shown while names are appended. Each append to a visible list box
// redraws its scroll bar at once, which costs milliseconds on some systems; painting in steps keeps
// a folder of thousands of templates from taking minutes, and the list still grows visibly.
constexpr DWORD showListEveryMs = 100;

void showList(HWND list) {
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

}  // namespace

DWORD WINAPI fillTemplateList(void* parameter) {
    HWND list = static_cast<HWND>(parameter);
    const std::string pattern = templateFolder() + "*.jpg";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        DWORD shown = GetTickCount();
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (!isTemplateName(found.cFileName)) continue;
            if (!IsWindow(list)) break;  // the window went away: nobody to list for
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
            if (GetTickCount() - shown >= showListEveryMs) {
                showList(list);
                SendMessageA(list, WM_SETREDRAW, FALSE, 0);
                shown = GetTickCount();
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        if (IsWindow(list)) showList(list);
    }
    if (IsWindow(list)) SetPropA(list, listingDoneProp, reinterpret_cast<HANDLE>(1));
    return 0;
}

void startTemplateListing(HWND list) {
    if (HANDLE thread = CreateThread(nullptr, 0, fillTemplateList, list, 0, nullptr)) CloseHandle(thread);
}

void onTemplateSelected() {
    HWND list = formControl(ids::templateList);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    std::string name;
    const LRESULT length = index >= 0 ? SendMessageA(list, LB_GETTEXTLEN, index, 0) : LB_ERR;
    if (length > 0) {
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        name = text.data();
    }
    std::vector<uint8_t> bytes;
    if (!name.empty()) bytes = readWholeFile(templateFolder() + name);
    setPictureBytes(formControl(ids::certificateView), bytes);
}
