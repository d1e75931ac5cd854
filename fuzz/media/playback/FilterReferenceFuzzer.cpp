// Reference texts "name|{class id}" read from arbitrary UTF-16 input: reading never overruns, a
// well-formed class id survives the round trip, and what is written reads back to itself.
#include "media/playback/CFilterItem.h"
#include "media/playback/GuidText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    // Also read the bytes as 8-bit characters, which reaches the GUID digits far more often.
    std::wstring narrow(data, data + size);
    for (const std::wstring* input : {&text, &narrow}) {
        CFilterItem item(input->c_str());
        const CString written = item.ToString();
        CFilterItem again(written);
        if (again.m_name != item.m_name || !(again.m_classId == item.m_classId))
            std::abort();
        if (!(StringToGuid(GuidToString(item.m_classId)) == item.m_classId))
            std::abort();
    }
    return 0;
}
