#include <windows.h>
#include <shlwapi.h>
#include <strsafe.h>
#include <algorithm>
#include <cstdarg>
#include <new>
#include "CMngFileReader.h"
#include "AnsiText.h"

// Diagnostics go to the debugger only; a long line is cut rather than dropped.
static void DebugOutW(const wchar_t* format, ...)
{
    wchar_t text[MAX_PATH];
    va_list args;
    va_start(args, format);
    StringCchVPrintfW(text, MAX_PATH, format, args);
    va_end(args);
    OutputDebugStringW(text);
}

// Sending a line costs more than parsing it (the system raises an exception per line), so the
// bulk traces are only written while a debugger or a debug-output monitor receives them.
static bool DebugOutputWatched()
{
    if (IsDebuggerPresent())
        return true;
    HANDLE monitorMutex = OpenMutexA(SYNCHRONIZE, FALSE, "DBWinMutex");
    if (!monitorMutex)
        return false;
    CloseHandle(monitorMutex);
    return true;
}

static HRESULT ReadLocalName(IXmlReader* reader, std::string& name)
{
    const wchar_t* localName = nullptr;
    UINT length = 0;
    const HRESULT hr = reader->GetLocalName(&localName, &length);
    if (FAILED(hr))
    {
        DebugOutW(L"Error getting local name, error is %08.8lx", hr);
        return hr;
    }
    ToNarrow(localName, static_cast<int>(length), name);
    return hr;
}

static bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A start tag, an attribute or an end tag takes about 20 bytes of a solution or project file,
// and rarely fewer than 16. Room for the records up front spares the list the copies and the
// fresh pages of its growth. A reservation that cannot be had leaves the list to grow as it
// goes; a very large file gets room for its first part.
static void ReserveRecordsFor(IStream* stream, std::vector<ElementRecord>& records)
{
    const ULONGLONG bytesPerRecord = 16;
    const ULONGLONG mostRecordsReserved = 1 << 18;
    STATSTG status = {};
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)))
        return;
    const ULONGLONG expected =
        std::min(status.cbSize.QuadPart / bytesPerRecord, mostRecordsReserved);
    try
    {
        records.reserve(records.size() + static_cast<size_t>(expected));
    }
    catch (const std::bad_alloc&)
    {
    }
}

static void TraceRecords(const std::vector<ElementRecord>& records)
{
    if (!DebugOutputWatched())
        return;
    // The system's wide formatting takes %s as a wide string.
    for (const ElementRecord& record : records)
    {
        if (record.type == ElementRecord::Attribute)
            DebugOutW(L"Element == type: %d,\t\t name: %s,\t\t value: %s\n", record.type,
                      ToWide(record.name).c_str(), ToWide(record.value).c_str());
        else
            DebugOutW(L"Element == type: %d\n", record.type);
    }
}

CMngFileReader::CMngFileReader() = default;

CMngFileReader::CMngFileReader(const CMngFileReader& other) = default;

CMngFileReader& CMngFileReader::operator=(const CMngFileReader& other) = default;

CMngFileReader::~CMngFileReader() = default;

HRESULT CMngFileReader::Init()
{
    CComPtr<IXmlReader> reader;
    HRESULT hr = CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr);
    if (FAILED(hr))
    {
        DebugOutW(L"Error creating xml reader, error is %08.8lx\n", hr);
        return hr;
    }
    m_spReader = reader;
    hr = m_spReader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (FAILED(hr))
    {
        DebugOutW(L"Error setting XmlReaderProperty_DtdProcessing, error is %08.8lx\n", hr);
        return hr;
    }
    return S_OK;
}

unsigned int CMngFileReader::Parse(const wchar_t* path)
{
    if (!m_spReader)
    {
        DebugOutW(L"Error NULL == m_spReader.p\n");
        return static_cast<unsigned int>(-1);
    }
    CComPtr<IStream> stream;
    if (FAILED(PrepareInput(path, &stream)))
        return static_cast<unsigned int>(-2);
    ReserveRecordsFor(stream, m_vecElements);
    if (FAILED(RunAutomata()))
        return static_cast<unsigned int>(-3);
    return 0;
}

HRESULT CMngFileReader::PrepareInput(const wchar_t* path, IStream** stream)
{
    if (!m_spReader)
    {
        DebugOutW(L"Error NULL == m_spReader.p\n");
        return E_UNEXPECTED;
    }
    const std::string narrowPath = ToNarrow(path, lstrlenW(path));
    HRESULT hr = SHCreateStreamOnFileA(narrowPath.c_str(), STGM_READ, stream);
    if (FAILED(hr))
    {
        DebugOutW(L"Error creating file reader, error is %08.8lx", hr);
        return hr;
    }
    hr = m_spReader->SetInput(*stream);
    if (FAILED(hr))
    {
        DebugOutW(L"Error on SetInput() calling, error is %08.8lx\n", hr);
        return hr;
    }
    return S_OK;
}

HRESULT CMngFileReader::RunAutomata()
{
    const bool traceEmptyElements = DebugOutputWatched();
    XmlNodeType nodeType;
    std::string name;
    // A read that fails (malformed input, a prohibited DOCTYPE) ends the document quietly:
    // the records read so far stand.
    while (m_spReader->Read(&nodeType) == S_OK)
    {
        if (nodeType == XmlNodeType_Element)
        {
            const bool empty = m_spReader->IsEmptyElement();
            if (FAILED(ReadLocalName(m_spReader, name)))
                return -1;
            PushElement(name);
            const HRESULT hr = GetAttributes(m_spReader);
            if (FAILED(hr))
            {
                DebugOutW(L"Error writing attributes, error is %08.8lx", hr);
                return -1;
            }
            if (empty && traceEmptyElements)
                DebugOutW(L" (empty)");
        }
        else if (nodeType == XmlNodeType_EndElement)
        {
            if (FAILED(ReadLocalName(m_spReader, name)))
                return -1;
            PopElement(name);
        }
    }
    return S_OK;
}

HRESULT CMngFileReader::GetAttributes(IXmlReader* reader)
{
    HRESULT hr = reader->MoveToFirstAttribute();
    if (hr == S_FALSE)
        return 1;
    if (hr != S_OK)
    {
        DebugOutW(L"Error moving to first attribute, error is %08.8lx", hr);
        return -1;
    }
    do
    {
        // Attributes that only carry a declared default are not part of the document.
        if (reader->IsDefault())
            continue;
        std::string name;
        if (FAILED(ReadLocalName(reader, name)))
            return -1;
        const wchar_t* value = nullptr;
        UINT length = 0;
        hr = reader->GetValue(&value, &length);
        if (FAILED(hr))
        {
            DebugOutW(L"Error getting value, error is %08.8lx", hr);
            return -1;
        }
        PushAttribute(std::move(name), ToNarrow(value, static_cast<int>(length)));
    } while (reader->MoveToNextAttribute() == S_OK);
    return hr;
}

void CMngFileReader::PushElement(const std::string& name)
{
    m_vecElements.push_back({GetType(name), {}, {}});
}

void CMngFileReader::PopElement(const std::string& name)
{
    const bool top = GetType(name) == ElementRecord::Top;
    m_vecElements.push_back({top ? ElementRecord::TopEnd : ElementRecord::End, {}, {}});
    if (top)
        TraceRecords(m_vecElements);
}

void CMngFileReader::PushAttribute(std::string name, std::string value)
{
    m_vecElements.push_back({ElementRecord::Attribute, std::move(name), std::move(value)});
}

short CMngFileReader::GetType(const std::string& name) const
{
    if (StartsWith(name, GetRootName()))
        return ElementRecord::Top;
    if (StartsWith(name, GetEntryName()))
        return ElementRecord::Entry;
    return ElementRecord::Other;
}

void CMngFileReader::CollectRelativePaths(std::vector<std::string>& out,
                                          std::string (*convert)(const std::string&)) const
{
    static const std::string relativePath = "RelativePath";
    // Every end tag appends a result: room for them all at once spares the caller's list its
    // growing copies.
    const size_t results = std::count_if(m_vecElements.begin(), m_vecElements.end(),
                                         [](const ElementRecord& record)
                                         { return record.type == ElementRecord::End; });
    if (out.size() + results > out.capacity())
        out.reserve(std::max(out.size() + results, 2 * out.capacity()));
    short state = ElementRecord::Other;
    // Before the first path an end tag appends an empty string, not a converted one.
    const std::string* current = nullptr;
    for (const ElementRecord& record : m_vecElements)
    {
        switch (record.type)
        {
        case ElementRecord::Top:
        case ElementRecord::Entry:
            state = record.type;
            break;
        case ElementRecord::Attribute:
            if (state == ElementRecord::Entry && StartsWith(record.name, relativePath))
                current = &record.value;
            break;
        case ElementRecord::End:
            out.push_back(current ? convert(*current) : std::string());
            break;
        }
    }
}
