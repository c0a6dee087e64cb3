// Times the solution and project readers on large files against bare XmlLite loops over the
// same files, in the same run.
#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>
#include <atlbase.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "DirMng.h"

static void WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

static std::string Solution(int projects)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Solution Name=\"Big\">\r\n";
    for (int i = 0; i < projects; ++i)
    {
        const std::string n = std::to_string(i);
        text += "  <Project Name=\"P" + n + "\" RelativePath=\"Screens\\Group" +
                std::to_string(i % 50) + "\\P" + n + "\\P" + n + ".prj\"></Project>\r\n";
    }
    return text + "</Solution>\r\n";
}

static std::string Project(int files)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Project Name=\"Big\">\r\n"
                       "  <Files>\r\n";
    for (int i = 0; i < files; ++i)
        text += "    <File RelativePath=\"..\\Shared\\Dir" + std::to_string(i % 100) + "\\Screen" +
                std::to_string(i) + ".xml\"></File>\r\n";
    return text + "  </Files>\r\n</Project>\r\n";
}

// Reads every node; with touchText also every element name and attribute name and value.
static size_t BareRead(const std::string& path, bool touchText)
{
    CComPtr<IXmlReader> reader;
    CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr);
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    CComPtr<IStream> stream;
    SHCreateStreamOnFileA(path.c_str(), STGM_READ, &stream);
    reader->SetInput(stream);
    size_t seen = 0;
    XmlNodeType type;
    const wchar_t* text = nullptr;
    UINT length = 0;
    while (reader->Read(&type) == S_OK)
    {
        ++seen;
        if (!touchText || (type != XmlNodeType_Element && type != XmlNodeType_EndElement))
            continue;
        reader->GetLocalName(&text, &length);
        seen += length;
        for (HRESULT hr = reader->MoveToFirstAttribute(); hr == S_OK;
             hr = reader->MoveToNextAttribute())
        {
            reader->GetLocalName(&text, &length);
            reader->GetValue(&text, &length);
            seen += length;
        }
    }
    return seen;
}

// Best of several runs, in milliseconds.
static double BestOf(int runs, const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
    {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        best = std::min(best, (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    }
    return best;
}

static void Compare(const char* what, const std::string& path,
                    void (*list)(const std::string&, std::vector<std::string>&), size_t expected)
{
    const int runs = 5;
    size_t listed = 0;
    const double ours = BestOf(runs,
                               [&]
                               {
                                   std::vector<std::string> items;
                                   list(path, items);
                                   listed = items.size();
                               });
    const double bare = BestOf(runs, [&] { BareRead(path, false); });
    const double bareText = BestOf(runs, [&] { BareRead(path, true); });
    std::printf("%-28s %8.1f ms (%zu listed%s)\n", what, ours, listed,
                listed == expected ? "" : ", WRONG COUNT");
    std::printf("  bare Read loop             %8.1f ms  ratio %.2f\n", bare, ours / bare);
    std::printf("  bare loop, names and values %7.1f ms  ratio %.2f\n", bareText, ours / bareText);
}

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string solution = std::string(temp) + "vor_bench.sln";
    const std::string project = std::string(temp) + "vor_bench.prj";
    WriteText(solution, Solution(5000));
    WriteText(project, Project(20000));

    Compare("solution, 5,000 projects", solution, DirMng::GetProjDirs, 5000);
    // The end tag of the Files wrapper repeats the last file.
    Compare("project, 20,000 files", project, DirMng::GetFilesInProj, 20001);

    DeleteFileA(solution.c_str());
    DeleteFileA(project.c_str());
    return 0;
}
