// Two views, each with a shared-memory and a UDP source, started and stopped
// on the main thread and exchanged on their own data threads (under each
// view's lock, as drawing takes it too) while a sender thread feeds their
// ports. Runs under ThreadSanitizer.
#include "peerSupport.h"

#include "dorneDataSources.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const uint32_t kDatagrams = 400;
// Datagrams a view may have left unread: far fewer than its socket's
// receive queue holds, which drops what comes when it is full.
const uint32_t kUnreadAtMost = 64;

DD_VAR_STRUCT* addVariable(DD_DATA_TYPE_STRUCT* s, const char* name, int type, const char* offset)
{
    DD_VAR_STRUCT* v = createVariable(10);
    v->type = type;
    std::snprintf(v->name, sizeof v->name, "%s", name);
    std::snprintf(v->para[0].text, 64, "%s", offset);
    appendVariable(&s->variables, v);
    return v;
}

DD_DATA_TYPE_STRUCT* addSource(DD_DATA_TYPE_STRUCT** view, int type)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(10);
    s->type = type;
    appendDataType(view, s);
    return s;
}

struct View
{
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_VAR_STRUCT* sequence = nullptr; // from the datagrams
    DD_VAR_STRUCT* written = nullptr;  // the view writes it
    std::mutex lock;
    std::atomic<bool> running{true};
    peer::UdpPort port; // held until the source has bound it
};

void load(View& view, const peer::Segment& segment)
{
    DD_DATA_TYPE_STRUCT* shm = addSource(&view.sources, 3);
    std::snprintf(shm->para[0].text, 64, "%s", segment.keyText().c_str());
    shm->para[1].value = 1;
    shm->para[2].value = 1; // variables from the block
    DD_DATA_TYPE_STRUCT* udp = addSource(&view.sources, 4);
    std::snprintf(udp->para[0].text, 64, "%d", view.port.port());
    std::snprintf(udp->para[1].text, 64, "64");
    udp->para[2].value = 0;
    view.sequence = addVariable(udp, "sequence", DD_UINT, "0");
    view.written = addVariable(udp, "written", DD_INT, "8");
    view.written->write = 1;

    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadStaticDataSources(&registry);
    updateDataTypes(registry, &view.sources);
    while (registry != nullptr)
        delDataType(&registry, registry, 1);
}

void start(View& view)
{
    openDataSources(view.sources);
    callStartView(view.sources);
    for (DD_DATA_TYPE_STRUCT* s = view.sources; s != nullptr; s = s->next)
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
            v->value = std::calloc(1, 8);
    writeDefault(view.sources);
}

void exchange(View* view)
{
    while (view->running.load()) { // until the main thread stops the view
        {
            std::lock_guard<std::mutex> hold(view->lock);
            fillDP(view->sources);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

uint32_t sequenceOf(View& view)
{
    std::lock_guard<std::mutex> hold(view.lock);
    uint32_t n;
    std::memcpy(&n, view.sequence->value, 4);
    return n;
}

TEST(ShmUdpThreads, ViewsExchangeOnTheirOwnThreads)
{
    peer::Segment segment(64 * 3);
    ASSERT_TRUE(segment.ok());
    const int32_t entries = 2;
    std::memcpy(segment.bytes + 60, &entries, 4);
    std::snprintf(reinterpret_cast<char*>(segment.bytes + 64), 52, "speed");
    std::snprintf(reinterpret_cast<char*>(segment.bytes + 128), 52, "load");
    const int32_t value = 1234;
    std::memcpy(segment.bytes + 64 + 56, &value, 4); // type code 0: an int

    std::vector<View> views(2);
    for (View& view : views) {
        ASSERT_GT(view.port.port(), 0);
        load(view, segment);
        start(view);
        view.port.release(); // the source has bound it
    }
    std::vector<std::thread> threads;
    for (View& view : views)
        threads.emplace_back(exchange, &view);
    // The sender keeps at most kUnreadAtMost datagrams ahead of what each
    // view has seen: a data thread held up for longer than the queue lasts
    // (a busy machine) would otherwise lose datagrams, the last one too.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::thread sender([&views, deadline] {
        std::vector<std::unique_ptr<peer::Sender>> senders;
        for (View& view : views)
            senders.emplace_back(new peer::Sender(view.port.port()));
        for (uint32_t n = 1; n <= kDatagrams; ++n) {
            for (View& view : views)
                while (n > kUnreadAtMost && sequenceOf(view) < n - kUnreadAtMost &&
                       std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            unsigned char datagram[16] = {};
            peer::putBytes(datagram, n, 4, true);
            for (auto& s : senders)
                s->send(datagram, sizeof datagram);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    // Meanwhile the main thread writes a value, as an input action does.
    for (int i = 0; i < 50; ++i) {
        for (View& view : views) {
            std::lock_guard<std::mutex> hold(view.lock);
            std::memcpy(view.written->value, &i, 4);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    sender.join();
    for (View& view : views) {
        while (sequenceOf(view) != kDatagrams && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(sequenceOf(view), kDatagrams) << "the last datagram sent is the last seen (within 30 s)";
    }
    for (View& view : views)
        view.running = false;
    for (std::thread& t : threads)
        t.join();

    for (View& view : views) {
        int32_t speed;
        std::memcpy(&speed, view.sources->variables->value, 4);
        EXPECT_EQ(speed, 1234);
        closeDataSources(view.sources);
        while (view.sources != nullptr)
            delDataType(&view.sources, view.sources, 1);
    }
}

} // namespace
