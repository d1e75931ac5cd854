// One device thread finds and loses temporary records while the owner thread iterates, steps,
// sorts and saves, for a bounded time under the sanitizers: no race, no record used after it went.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "ChannelFileWriter.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

TEST(CServicesStress, DevicesChangeTheListWhileTheOwnerUsesIt)
{
    test::CTemporaryFolder folder;
    std::vector<test::CRecordDescription> records;
    for (uint16_t i = 1; i <= 40; ++i) {
        records.push_back(test::Record(1, i, i % 4 == 0 ? 2 : 1, i, "Channel " + std::to_string(i)));
        if (i % 5 == 0)
            records.back().favourite = i;
    }
    ASSERT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records), folder.File("channels.dat")));
    CServices list(nullptr, folder.Path16());
    const char* seconds = std::getenv("TOLVIK_STRESS_SECONDS");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds ? std::atoi(seconds) : 10);
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> added{0};

    std::thread device([&] {
        libDVB::CServiceManager bda(nullptr, &list, u"BDA");
        libDVB::CServiceManager file(nullptr, &list, u"FILE");
        libDVB::CServiceManager* managers[] = {&bda, &file};
        test::CTestRandom random(7);
        std::vector<std::pair<libDVB::CServiceManager*, libDVB::CService*>> live;
        while (!stop) {
            libDVB::CServiceManager* manager = managers[random.Below(2)];
            libDVB::CService* service = nullptr;
            const uint16_t sid = static_cast<uint16_t>(1 + random.Below(60)); // some are records of the file
            if (list.OnServiceAdded(manager, sid, &service) == S_OK && service) {
                live.emplace_back(manager, service);
                ++added;
            }
            while (live.size() > 30 || (!live.empty() && random.Below(3) == 0)) {
                const size_t at = random.Below(static_cast<uint32_t>(live.size()));
                list.OnServiceRemoved(live[at].first, live[at].second->GetServiceId(), live[at].second);
                live.erase(live.begin() + static_cast<long>(at));
            }
        }
        for (auto& entry : live)
            list.OnServiceRemoved(entry.first, entry.second->GetServiceId(), entry.second);
    });

    uint64_t rounds = 0, saves = 0;
    test::CTestRandom random(11);
    uint64_t tvVersion = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        CServices::ServiceArray all, tv;
        list.GetAllServices(all);
        CServices::SortServicesByName(all);
        for (CQORService* service : all)
            ASSERT_FALSE(service->GetName().empty());
        list.GetTVServices(tv, true, tvVersion);
        int32_t position = 0;
        CQORService* current = list.GetNextService(nullptr, position);
        for (int step = 0; current && step < 50; ++step) {
            current->SetListPosition(position);
            current = (step & 1) ? list.GetNextService(current, position) : list.GetPreviousService(current, position);
        }
        CQORService* channel = list.FindService(CServices::KeyOf(1, static_cast<uint16_t>(1 + random.Below(40))));
        ASSERT_NE(nullptr, channel);
        list.SetFavourite(channel, channel->GetFavouriteNumber() < 0 ? 100 : -1);
        if (list.SaveChannels() == S_OK)
            ++saves;
        // No copied list is held here: what the devices lost may go now.
        list.ReleaseRetiredServices();
        ++rounds;
    }
    stop = true;
    device.join();
    list.ReleaseRetiredServices();

    EXPECT_GT(added.load(), 100u);
    EXPECT_GT(saves, 10u);
    CServices::ServiceArray all;
    list.GetAllServices(all);
    EXPECT_EQ(40u, all.size()); // every temporary record went again; the file's records stayed
    EXPECT_EQ(test::ReadBytes(folder.File("channels.dat")), list.SerialiseChannels());
    std::printf("%llu rounds, %llu saves, %llu records found\n", static_cast<unsigned long long>(rounds),
                static_cast<unsigned long long>(saves), static_cast<unsigned long long>(added.load()));
}

} // namespace
