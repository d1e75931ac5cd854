// The channel list: every channel record the system knows, keyed by (transport_stream_id << 16) |
// service_id, with the TV, radio and favourite lists through which the user steps, loaded from and
// saved to "\channels.dat" in the program folder. It is also the listener of the device engines'
// service managers, which call it on device threads: one list lock guards every map and list.
// Lock order: the list lock before a record's service lock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/File.h"
#include "base/Lock.h"
#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/libDVB/service/CServiceManager.h"

namespace DVBPlaybackCore {

class CServices : public libDVB::CServiceManager::CServiceManagerCallback {
public:
    using ServiceArray = std::vector<CQORService*>;

    // First positions of the three lists (what PlayService and the stepping use).
    enum ListBase : int32_t { kFavouriteBase = 1, kTVBase = 1001, kRadioBase = 5001 };

    // Loads program folder + "\channels.dat".
    CServices(libDVB::CService::CServiceCallback* callback, const std::u16string& programFolder);
    virtual ~CServices();
    CServices(const CServices&) = delete;
    CServices& operator=(const CServices&) = delete;

    // True when the file could be read. Records of a damaged file are taken up to the first one
    // that could not be read.
    bool LoadChannels();
    // S_OK written; S_FALSE nothing written, because nothing changed since the file was loaded or
    // last written, or because another program wrote the file meanwhile (the list is then
    // reloaded from it); E_FAIL when the file could not be written (the old one stays).
    HRESULT SaveChannels();
    // The bytes SaveChannels would write.
    std::vector<uint8_t> SerialiseChannels() const;

    // 0 added (the list owns it); 1 a record of that key is known: the tune infos it accepts move
    // over and the record stays with the caller; E_FAIL null or not valid.
    HRESULT AddService(CQORService* service);
    // Takes the record out of every map and list; the caller owns it then.
    HRESULT RemoveService(CQORService* service);

    HRESULT OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out) override;
    // A record a device created leaves every map and list; it is deleted by the next
    // ReleaseRetiredServices, since the owner thread may still hold it in a copied list.
    HRESULT OnServiceRemoved(libDVB::CServiceManager* manager, uint16_t serviceId,
                             libDVB::CService* service) override;

    // Copies a sorted list. `version` belongs to the caller (0 at first): with `onlyIfChanged`
    // and the list unchanged since that caller's last copy, nothing is copied and the result is 1;
    // otherwise the list is copied, `version` updated and the result is 0.
    HRESULT GetTVServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const;
    HRESULT GetRadioServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const;
    HRESULT GetFavouriteServices(ServiceArray& out, bool onlyIfChanged, uint64_t& version) const;
    // Every record in key order.
    void GetAllServices(ServiceArray& out) const;
    // Appends the records being received, with `networkOnly` only those from a network device.
    void GetRunningServices(ServiceArray& out, bool networkOnly) const;
    CQORService* FindService(uint32_t key) const;

    // The neighbour of `current` in its list (by its list position) with its position; with no
    // current record, the first of favourites, TV or radio. Null when there is none.
    CQORService* GetNextService(CQORService* current, int32_t& position) const;
    CQORService* GetPreviousService(CQORService* current, int32_t& position) const;

    // Deletes the records that left the list (lost by their device, or dropped by a newer file).
    // Called by the owner thread when it holds no copied list.
    void ReleaseRetiredServices();

    // Makes the record a favourite with `number` (or none with -1), in the favourites list.
    void SetFavourite(CQORService* service, int32_t number);
    // Sorts the three lists again (after numbers were changed).
    void RebuildLists();

    static void SortServicesByName(ServiceArray& services);
    static uint32_t KeyOf(uint16_t transportStreamId, uint16_t serviceId)
    {
        return static_cast<uint32_t>(transportStreamId) << 16 | serviceId;
    }
    const std::u16string& GetProgramFolder() const { return m_programFolder; }
    std::u16string GetChannelFilePath() const;

private:
    struct CList {
        std::map<uint32_t, CQORService*> map;
        ServiceArray sorted;
        uint64_t version = 1;
    };

    HRESULT Copy(const CList& list, ServiceArray& out, bool onlyIfChanged, uint64_t& version) const;
    void Insert(CList& list, uint32_t key, CQORService* service);
    void Erase(CList& list, uint32_t key, CQORService* service);
    static int32_t NextChannelNumber(const CList& list);
    // The records of a channel file up to the first that cannot be read.
    std::vector<std::unique_ptr<CQORService>> ParseRecords(const std::vector<uint8_t>& bytes) const;
    // Fills the TV, radio and favourite maps from the channel map again.
    void RebuildMaps();
    // Takes up a file another program wrote: its records replace what was read before.
    void Reload(const std::vector<uint8_t>& bytes);
    bool ReadFile(std::vector<uint8_t>& bytes, base::CFileStamp& stamp) const;

    libDVB::CService::CServiceCallback* m_callback;
    std::u16string m_programFolder;
    mutable base::CCriticalSection m_lock;
    bool m_loading = false;
    std::map<uint32_t, std::unique_ptr<CQORService>> m_channels; // owns every record in the lists
    CList m_favourites;
    CList m_radio;
    CList m_tv;
    // Records created by OnServiceAdded, with the number of devices that feed each: one goes when
    // the last of them loses it.
    std::map<libDVB::CService*, uint32_t> m_temporary;
    // Records out of every list, kept alive for whoever still holds them until
    // ReleaseRetiredServices.
    std::vector<std::unique_ptr<CQORService>> m_retired;
    std::vector<uint8_t> m_fileBytes; // as loaded or last written
    base::CFileStamp m_fileStamp;
};

} // namespace DVBPlaybackCore
