// Times the solution and project readers on large files against bare XmlLite loops over the
// same files, interleaved in rounds of one run, so that a busy machine slows all alike.
// Exits non-zero when the reader lists or records a different number of things than the
// bare loop reads.
#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>
#include <atlbase.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "AnsiText.h"
#include "CMngFileReader.h"
#include "DirMng.h"

namespace
{
const int kRounds = 9;
const int kTriesPerRound = 3;

void WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Solution(int projects)
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

std::string Project(int files)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Project Name=\"Big\">\r\n"
                       "  <Files>\r\n";
    for (int i = 0; i < files; ++i)
        text += "    <File RelativePath=\"..\\Shared\\Dir" + std::to_string(i % 100) + "\\Screen" +
                std::to_string(i) + ".xml\"></File>\r\n";
    return text + "  </Files>\r\n</Project>\r\n";
}

// What a bare loop read: the number of element starts, attributes and end tags (each one
// record of the reader) and the characters of their names and values.
struct BareCount
{
    size_t records = 0;
    size_t characters = 0;
};

enum class Extract
{
    Nothing,      // Read alone
    Pointers,     // the name and value pointers of every element and attribute, unread
    Narrow,       // those names and values converted to narrow text, as the reader must
    NarrowCopies, // and kept as the reader's interface forces: a string per attribute name,
                  // value and result
};

BareCount BareRead(const std::string& path, Extract extract)
{
    CComPtr<IXmlReader> reader;
    CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr);
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    CComPtr<IStream> stream;
    SHCreateStreamOnFileA(path.c_str(), STGM_READ, &stream);
    reader->SetInput(stream);
    BareCount count;
    std::string narrow;
    // The current node's local name or value, into out as the variant asks.
    auto take = [&](bool value, std::string& out)
    {
        const wchar_t* text = nullptr;
        UINT length = 0;
        if (value)
            reader->GetValue(&text, &length);
        else
            reader->GetLocalName(&text, &length);
        count.characters += length;
        if (extract >= Extract::Narrow)
        {
            ToNarrow(text, static_cast<int>(length), out);
            count.characters += out.size();
        }
    };
    const bool keep = extract == Extract::NarrowCopies;
    std::vector<ElementRecord> records;
    std::vector<std::string> results;
    size_t latestAttribute = 0;
    XmlNodeType type;
    while (reader->Read(&type) == S_OK)
    {
        if (extract == Extract::Nothing ||
            (type != XmlNodeType_Element && type != XmlNodeType_EndElement))
            continue;
        ++count.records;
        take(false, narrow);
        if (keep)
            records.emplace_back();
        if (keep && type == XmlNodeType_EndElement && latestAttribute > 0)
            results.push_back(records[latestAttribute].value);
        for (HRESULT hr = reader->MoveToFirstAttribute(); hr == S_OK;
             hr = reader->MoveToNextAttribute())
        {
            ++count.records;
            ElementRecord record;
            take(false, keep ? record.name : narrow);
            take(true, keep ? record.value : narrow);
            if (keep)
            {
                latestAttribute = records.size();
                records.push_back(std::move(record));
            }
        }
    }
    return count;
}

// The reader itself, to count its records.
class RecordCounter : public CMngFileReader
{
public:
    RecordCounter(const char* rootName, const char* entryName)
        : m_rootName(rootName), m_entryName(entryName)
    {
    }
    size_t Records() const { return m_vecElements.size(); }

protected:
    std::string GetRootName() const override { return m_rootName; }
    std::string GetEntryName() const override { return m_entryName; }

private:
    std::string m_rootName;
    std::string m_entryName;
};

double Milliseconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

struct Spread
{
    double median;
    double low;
    double high;
};

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Returns false when a count is wrong.
bool Compare(const char* what, const std::string& path,
             void (*list)(const std::string&, std::vector<std::string>&), size_t expected,
             RecordCounter& counter)
{
    std::wstring widePath(path.begin(), path.end());
    if (FAILED(counter.Init()) || counter.Parse(widePath.c_str()) != 0)
    {
        std::printf("%s: the reader cannot read %s\n", what, path.c_str());
        return false;
    }
    const BareCount bare = BareRead(path, Extract::Narrow);
    bool right = counter.Records() == bare.records;

    struct Variant
    {
        const char* name;
        Extract extract;
        std::vector<double> times;
        std::vector<double> ratios;
    };
    std::vector<Variant> variants = {
        {"bare Read loop", Extract::Nothing, {}, {}},
        {"bare loop, name and value pointers", Extract::Pointers, {}, {}},
        {"bare loop, names and values to narrow", Extract::Narrow, {}, {}},
        {"  and kept in strings as the reader must", Extract::NarrowCopies, {}, {}}};
    std::vector<double> ours;
    size_t listed = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        double best = 1e30;
        for (int i = 0; i < kTriesPerRound; ++i)
            best = std::min(best, Milliseconds(
                                      [&]
                                      {
                                          std::vector<std::string> items;
                                          list(path, items);
                                          listed = items.size();
                                      }));
        ours.push_back(best);
        for (Variant& variant : variants)
        {
            double bareBest = 1e30;
            for (int i = 0; i < kTriesPerRound; ++i)
                bareBest =
                    std::min(bareBest, Milliseconds([&] { BareRead(path, variant.extract); }));
            variant.times.push_back(bareBest);
            variant.ratios.push_back(best / bareBest);
        }
    }
    right = right && listed == expected;

    const Spread oursSpread = SpreadOf(ours);
    std::printf("%s: %zu listed, %zu records (bare loop: %zu)%s\n", what, listed, counter.Records(),
                bare.records, right ? "" : "  WRONG COUNT");
    std::printf("  %-44s %7.1f ms (%.1f-%.1f)\n", "reader", oursSpread.median, oursSpread.low,
                oursSpread.high);
    for (const Variant& variant : variants)
    {
        const Spread time = SpreadOf(variant.times);
        const Spread ratio = SpreadOf(variant.ratios);
        std::printf("  %-44s %7.1f ms  reader/this %.2f (%.2f-%.2f)\n", variant.name, time.median,
                    ratio.median, ratio.low, ratio.high);
    }
    return right;
}
} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string solution = std::string(temp) + "vor_bench.sln";
    const std::string project = std::string(temp) + "vor_bench.prj";
    WriteText(solution, Solution(5000));
    WriteText(project, Project(20000));

    std::printf("medians of %d rounds (range), each the best of %d\n", kRounds, kTriesPerRound);
    RecordCounter solutionReader("Solution", "Project");
    RecordCounter projectReader("Project", "File");
    bool right =
        Compare("solution, 5,000 projects", solution, DirMng::GetProjDirs, 5000, solutionReader);
    // The end tag of the Files wrapper repeats the last file.
    right =
        Compare("project, 20,000 files", project, DirMng::GetFilesInProj, 20001, projectReader) &&
        right;

    DeleteFileA(solution.c_str());
    DeleteFileA(project.c_str());
    return right ? 0 : 1;
}
