#include "plintor/win/CTransponderListReader.h"

#include <string>

#include "dshow/CComPtr.h"
#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/BDANetworkTypes.h"

using dshow::CComPtr;

// The SDK's header declares these without their ids.
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)

namespace {

// DOMDocument of MSXML 3.0.
const CLSID kDOMDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};

// A BSTR owned for the length of a call.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : m_text(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_text; }

private:
    BSTR m_text;
};

// The element's attribute as a 32-bit integer; false when it is missing or not a number.
bool IntegerAttribute(IXMLDOMElement* element, const wchar_t* name, long* value)
{
    VARIANT v;
    VariantInit(&v);
    if (element->getAttribute(Bstr(name), &v) != S_OK || v.vt != VT_BSTR) {
        VariantClear(&v);
        return false;
    }
    const HRESULT hr = VariantChangeType(&v, &v, 0, VT_I4);
    const bool ok = SUCCEEDED(hr) && v.vt == VT_I4;
    if (ok)
        *value = v.lVal;
    VariantClear(&v);
    return ok;
}

std::wstring TextAttribute(IXMLDOMElement* element, const wchar_t* name)
{
    VARIANT v;
    VariantInit(&v);
    std::wstring text;
    if (element->getAttribute(Bstr(name), &v) == S_OK && v.vt == VT_BSTR && v.bstrVal)
        text = v.bstrVal;
    VariantClear(&v);
    return text;
}

// The element children of `parent` named `name`, in document order.
std::vector<CComPtr<IXMLDOMElement>> Children(IXMLDOMNode* parent, const wchar_t* name)
{
    std::vector<CComPtr<IXMLDOMElement>> found;
    CComPtr<IXMLDOMNodeList> list;
    if (!parent || FAILED(parent->get_childNodes(&list)) || !list)
        return found;
    long count = 0;
    list->get_length(&count);
    for (long i = 0; i < count; ++i) {
        CComPtr<IXMLDOMNode> node;
        if (FAILED(list->get_item(i, &node)) || !node)
            continue;
        CComPtr<IXMLDOMElement> element;
        if (FAILED(element.QueryFrom(node.Get())))
            continue;
        BSTR tag = nullptr;
        if (SUCCEEDED(element->get_tagName(&tag)) && tag && std::wstring(tag) == name)
            found.push_back(element);
        SysFreeString(tag);
    }
    return found;
}

} // namespace

struct CTransponderListReader::Kind {
    int sourceType;
    uint32_t networkType; // libBDA's type: tuning-space class, system type, network type, locator
    const wchar_t* container;
    const wchar_t* network;
};

// Read in this order: satellite, terrestrial, cable, ATSC.
const CTransponderListReader::Kind CTransponderListReader::kKinds[4] = {
    {kSatellite, libBDA::kNetworkDVBS, L"satellites", L"sat"},
    {kTerrestrial, libBDA::kNetworkDVBT, L"terrestrial", L"ter"},
    {kCable, libBDA::kNetworkDVBC, L"cable", L"cab"},
    {kATSC, libBDA::kNetworkATSC, L"atsc", L"ats"},
};

CTransponderListReader::CTransponderListReader(const wchar_t* fileName)
{
    if (FAILED(CoCreateInstance(kDOMDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(&m_document))))
        return;
    // Loaded at once: the wizard reads the networks right after construction.
    m_document->put_async(VARIANT_FALSE);
    m_document->put_validateOnParse(VARIANT_FALSE);
    m_document->put_resolveExternals(VARIANT_FALSE);
    const std::u16string folder = DVBPlaybackCore::ProgramFolder();
    std::wstring path(folder.begin(), folder.end());
    path += L"\\";
    path += fileName;
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(path.c_str());
    VARIANT_BOOL success = VARIANT_FALSE;
    m_loaded = m_document->load(source, &success) == S_OK && success == VARIANT_TRUE;
    VariantClear(&source);
    if (!m_loaded)
        return;
    for (const Kind& kind : kKinds)
        ReadNetworks(kind);
}

CTransponderListReader::~CTransponderListReader()
{
    for (auto* spaces : {&m_satellite, &m_cable, &m_terrestrial, &m_atsc})
        for (ITuningSpace* space : *spaces)
            space->Release();
    if (m_document)
        m_document->Release();
}

std::vector<ITuningSpace*>& CTransponderListReader::Spaces(int sourceType)
{
    switch (sourceType) {
    case kCable: return m_cable;
    case kTerrestrial: return m_terrestrial;
    case kATSC: return m_atsc;
    default: return m_satellite;
    }
}

void CTransponderListReader::ReadNetworks(const Kind& kind)
{
    CComPtr<IXMLDOMElement> root;
    if (FAILED(m_document->get_documentElement(&root)) || !root)
        return;
    BSTR tag = nullptr;
    const bool isData = SUCCEEDED(root->get_tagName(&tag)) && tag && std::wstring(tag) == L"data";
    SysFreeString(tag);
    if (!isData)
        return;
    const libBDA::BDANetworkType* type = libBDA::FindBDANetworkType(kind.networkType);
    for (const auto& container : Children(root, kind.container)) {
        for (const auto& element : Children(container, kind.network)) {
            CComPtr<ITuningSpace> space;
            if (FAILED(CoCreateInstance(*type->tuningSpace, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITuningSpace),
                                        reinterpret_cast<void**>(&space))) ||
                !space)
                continue; // a network whose object cannot be made is left out
            const std::wstring name = TextAttribute(element, L"name");
            space->put_FriendlyName(Bstr(name.c_str()));
            space->put_UniqueName(Bstr(name.c_str()));
            space->put_FrequencyMapping(Bstr(L"-1"));
            if (type->systemType >= 0) {
                CComPtr<IDVBTuningSpace> dvb;
                if (SUCCEEDED(dvb.QueryFrom(space.Get())))
                    dvb->put_SystemType(static_cast<DVBSystemType>(type->systemType));
            }
            space->put__NetworkType(*type->networkType);
            Spaces(kind.sourceType).push_back(space.Detach());
        }
        break; // one container of a kind
    }
}

std::vector<ITuningSpace*> CTransponderListReader::GetNetworks(int sourceType)
{
    std::vector<ITuningSpace*> spaces = Spaces(sourceType);
    for (ITuningSpace* space : spaces)
        space->AddRef();
    return spaces;
}

HRESULT CTransponderListReader::GetTransponders(ITuningSpace* space, std::vector<ILocator*>* locators)
{
    if (!space || !locators)
        return E_POINTER;
    if (!m_loaded)
        return S_FALSE;
    GUID networkType = GUID_NULL;
    BSTR unique = nullptr;
    if (FAILED(space->get__NetworkType(&networkType)) || FAILED(space->get_UniqueName(&unique)))
        return E_FAIL;
    const std::wstring name = unique ? unique : L"";
    SysFreeString(unique);
    const Kind* kind = nullptr;
    for (const Kind& k : kKinds)
        if (*libBDA::FindBDANetworkType(k.networkType)->networkType == networkType)
            kind = &k;
    if (!kind)
        return E_INVALIDARG;
    CComPtr<IXMLDOMElement> root;
    if (FAILED(m_document->get_documentElement(&root)) || !root)
        return S_FALSE;
    for (const auto& container : Children(root, kind->container)) {
        for (const auto& network : Children(container, kind->network)) {
            if (TextAttribute(network, L"name") != name)
                continue;
            // The first network of that name serves every space of that name.
            for (const auto& t : Children(network, L"transponder")) {
                long a = 0, b = 0, c = 0;
                ILocator* locator = nullptr;
                switch (kind->sourceType) {
                case kSatellite:
                    if (IntegerAttribute(t, L"polarization", &a) && IntegerAttribute(t, L"symbol_rate", &b) &&
                        IntegerAttribute(t, L"frequency", &c))
                        locator = libBDA::CreateDVBSLocator(c, b, static_cast<Polarisation>(a));
                    break;
                case kTerrestrial:
                    if (IntegerAttribute(t, L"bandwidth", &a) && IntegerAttribute(t, L"frequency", &b))
                        locator = libBDA::CreateDVBTLocator(b, a);
                    break;
                case kCable:
                    if (IntegerAttribute(t, L"symbol_rate", &a) && IntegerAttribute(t, L"frequency", &b))
                        locator = libBDA::CreateDVBCLocator(b, a);
                    break;
                default:
                    if (IntegerAttribute(t, L"channel", &a) && IntegerAttribute(t, L"frequency", &b))
                        locator = libBDA::CreateATSCLocator(b, a);
                    break;
                }
                if (locator)
                    locators->push_back(locator);
            }
            return S_OK;
        }
        break;
    }
    return S_OK;
}
