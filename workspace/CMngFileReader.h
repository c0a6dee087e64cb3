#pragma once
#include <windows.h>
#include <xmllite.h>
#include <afxver_.h>
#include <atlbase.h>
#include <string>
#include <vector>

// One node of a parsed document. Element starts and ends keep only their type; attributes
// also keep their local name and value.
struct ElementRecord
{
    enum Type : short
    {
        Other = -1,
        Top = 0,
        Entry = 1,
        Attribute = 2,
        TopEnd = 10,
        End = 11,
    };

    short type = Other;
    std::string name;
    std::string value;
};

// Reads a solution or project document with XmlLite into a flat list of records; the
// subclasses name the top and entry elements and turn the records into paths.
class AFX_EXT_CLASS CMngFileReader
{
public:
    CMngFileReader();
    CMngFileReader(const CMngFileReader& other);
    CMngFileReader& operator=(const CMngFileReader& other);
    virtual ~CMngFileReader();

protected:
    virtual std::string GetRootName() const = 0;
    virtual std::string GetEntryName() const = 0;

public:
    HRESULT Init();
    unsigned int Parse(const wchar_t* path);

protected:
    // Appends, at every end tag other than the top element's, the latest RelativePath of an
    // entry passed through convert.
    void CollectRelativePaths(std::vector<std::string>& out,
                              std::string (*convert)(const std::string&)) const;

    CComPtr<IXmlReader> m_spReader;
    std::vector<ElementRecord> m_vecElements;

private:
    HRESULT PrepareInput(const wchar_t* path, IStream** stream);
    HRESULT RunAutomata();
    HRESULT GetAttributes(IXmlReader* reader);
    void PushElement(const std::string& name);
    void PopElement(const std::string& name);
    void PushAttribute(std::string name, std::string value);
    short GetType(const std::string& name) const;
};
