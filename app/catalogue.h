// The template catalogue: the folder "模板" beside the program, listed on a worker thread.
#pragma once
#include <windows.h>

#include <string>

// The folder of the program's executable, without a trailing backslash ("C:" for a drive root).
std::string programDirectory();
// programDirectory followed by "\模板\".
std::string templateFolder();

// A template is a file whose name ends in ".jpg", in any letter case.
bool isTemplateName(const char* name);

// Starts fillTemplateList on its own thread for the given list box; the handle is closed at once.
void startTemplateListing(HWND list);
// Thread body: appends the name of every template of templateFolder to the list box given as
// parameter, one synchronous append at a time, in the order of the directory search. Sets the
// property listingDoneProp on the list when it has finished.
DWORD WINAPI fillTemplateList(void* list);
inline constexpr char listingDoneProp[] = "Form.列表完成";

// Selection change of TemplateList: shows the selected template, read afresh from its file.
void onTemplateSelected();
