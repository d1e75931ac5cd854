// One channel: a libDVB service extended with what the channel list keeps about it: how to receive
// it (its tune infos, tried in order), its favourite and channel numbers, its list position while
// it plays, whether it is saved and whether it came over the network, and its logo. This is the
// record of the channel file. Every field is read and written under the service lock.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "dvb/DVBPlaybackCore/CTuneInfo.h"
#include "dvb/libDVB/service/CService.h"

namespace DVBPlaybackCore {

class CQORService : public libDVB::CService {
public:
    // The picture the user interface loads from the logo path; the record owns it.
    class CLogoImage {
    public:
        virtual ~CLogoImage() = default;
    };

    // Reads one record at the reader's position and leaves the reader after it. The record is
    // valid only when it was read completely; fields that could not be read keep their
    // constructor values.
    CQORService(CServiceCallback* callback, base::CByteReader& file);
    // A service a device found: ids and name; the caller sets the not-saved and network flags.
    CQORService(CServiceCallback* callback, libDVB::CServiceManager* manager, uint16_t serviceId,
                uint16_t transportStreamId, const std::u16string& name);
    ~CQORService() override;

    // Appends the record (length, fields, tune infos) to `file`.
    void Save(base::CByteWriter& file) const;

    // Takes ownership and returns 0; 1 when an equal tune info is present (the caller keeps it);
    // E_FAIL for null.
    HRESULT AddTuneInfo(CTuneInfo* tuneInfo);
    size_t GetTuneInfoCount() const;
    // The tune info at `index`; null past the end. It lives as long as the record.
    CTuneInfo* GetTuneInfo(size_t index) const;
    // Hands every tune info to `target` (its AddTuneInfo); the ones it takes leave this record.
    void MergeTuneInfosInto(CQORService& target);

    // Takes every stored field and the tune infos of `from`, a record of the same key read from a
    // newer file.
    void TakeStoredFields(CQORService& from);

    // Chooses the logo whose file name matches the service name (without double quotes, case
    // folded): an exact base name, else the first whose base name followed by ':', '\', '/' or a
    // space begins the name. `logos` are full paths.
    void FindLogo(const std::vector<std::u16string>& logos);

    int32_t GetFavouriteNumber() const;
    void SetFavouriteNumber(int32_t number);
    int32_t GetChannelNumber() const;
    void SetChannelNumber(int32_t number);
    int32_t GetListPosition() const;
    void SetListPosition(int32_t position);
    uint32_t GetNotSaved() const;
    void SetNotSaved(uint32_t notSaved);
    uint32_t GetNetwork() const;
    void SetNetwork(uint32_t network);
    std::u16string GetLogoPath() const;
    void SetLogoPath(const std::u16string& path);
    CLogoImage* GetLogoImage() const;
    void SetLogoImage(std::unique_ptr<CLogoImage> image);
    // In memory only: what the configurator marks.
    bool IsValid() const;
    void SetValid(bool valid);
    bool IsHidden() const;
    void SetHidden(bool hidden);
    uint32_t GetSelected() const;
    void SetSelected(uint32_t selected);
    uint8_t GetNew() const;
    void SetNew(uint8_t isNew);

    // The channel-map key: transport_stream_id << 16 | service_id.
    uint32_t GetKey() const;

private:
    bool Read(base::CByteReader& file);

    std::vector<std::unique_ptr<CTuneInfo>> m_tuneInfos;
    int32_t m_favouriteNumber = -1;
    int32_t m_channelNumber = -1;
    int32_t m_listPosition = 0;
    uint32_t m_notSaved = 0;
    uint32_t m_network = 0;
    std::u16string m_logoPath;
    std::unique_ptr<CLogoImage> m_logoImage;
    bool m_valid = true;
    bool m_hidden = false;
    uint32_t m_selected = 0;
    uint8_t m_new = 0;
};

} // namespace DVBPlaybackCore
