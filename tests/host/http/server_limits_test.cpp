// What the studio's server refuses and closes without the HTTP library:
// request heads judged before their bodies (request_reading), bodies counted
// as they arrive, and the deadlines and bound of connections
// (connection_keeper).
#include <gtest/gtest.h>

#include "host/http/connection_keeper.h"
#include "host/http/module_thread.h"
#include "host/http/request_reading.h"

namespace plof::host::http {
namespace {

const std::string kToken(32, 'a');

RequestHead head(std::vector<std::pair<std::string, std::string>> extra, std::string path = "/api/state") {
    RequestHead request{"PUT", std::move(path), {{"host", "127.0.0.1:8123"}, {"AUTHORIZATION", "Bearer " + kToken}}};
    for (auto &header : extra) request.headers.push_back(std::move(header));
    return request;
}

int statusOf(const RequestHead &request) {
    const auto refusal = refuseHead(request, kToken, 8123);
    if (refusal) {
        EXPECT_NE(refusal->reason, "");
    }
    return refusal ? refusal->status : 200;
}

TEST(StudioRequestReadingTest, HeadsAreJudgedBeforeAnyBody) {
    EXPECT_EQ(statusOf(head({})), 200);
    EXPECT_EQ(statusOf(head({{"Content-Length", "65536"}, {"content-encoding", "Identity"}})), 200);
    EXPECT_EQ(statusOf(head({{"Transfer-Encoding", "chunked"}})), 200);
    // The guard comes first: no token, no other answer.
    RequestHead anonymous = head({{"Content-Encoding", "br"}});
    anonymous.headers.erase(anonymous.headers.begin() + 1);
    EXPECT_EQ(statusOf(anonymous), 403);
    EXPECT_EQ(statusOf(head({{"Content-Encoding", "gzip"}})), 415);
    EXPECT_EQ(statusOf(head({{"Range", "bytes=0-1,0-1"}}, "/plof-studio.js")), 416);
    EXPECT_EQ(statusOf(head({{"Transfer-Encoding", "gzip, chunked"}})), 400);
    EXPECT_EQ(statusOf(head({{"Transfer-Encoding", "chunked"}, {"Content-Length", "10"}})), 400);
    EXPECT_EQ(statusOf(head({{"Content-Length", "65537"}})), 413);
    EXPECT_EQ(statusOf(head({{"Content-Length", "000000000000000000000065536"}})), 200);
    EXPECT_EQ(statusOf(head({{"Content-Length", "99999999999999999999999"}})), 413);
    EXPECT_EQ(statusOf(head({{"Content-Length", "-1"}})), 400);
    EXPECT_EQ(statusOf(head({{"Host", "127.0.0.1:8123"}})), 400);  // twice
    EXPECT_EQ(statusOf(head({{"authorization", "Bearer " + kToken}})), 400);
}

TEST(StudioRequestReadingTest, BodiesAreCountedAsTheyArriveAndKeptOnlyUpToTheLimit) {
    BodyReader body;
    body.add(std::string(kBodyLimit - 1, 'x'));
    body.add("y");
    EXPECT_FALSE(body.refusal());
    EXPECT_EQ(body.body().size(), kBodyLimit);
    for (int i = 0; i < 1000; ++i) body.add(std::string(1024, 'z'));
    ASSERT_TRUE(body.refusal());
    EXPECT_EQ(body.refusal()->status, 413);
    EXPECT_EQ(body.received(), kBodyLimit + 1000 * 1024);
    EXPECT_EQ(body.body().size(), kBodyLimit);
    EXPECT_EQ(body.body().back(), 'y');
}

TEST(StudioConnectionKeeperTest, DeadlinesByPhaseAndTheLongestWaitingClosedPastTheBound) {
    using namespace std::chrono_literals;
    ConnectionKeeper keeper({.connections = 3, .head = 10s, .body = 5s, .answer = 60s});
    const auto start = ConnectionKeeper::Clock::now();
    int ids[6];
    for (int i = 0; i < 3; ++i) keeper.opened(&ids[i], start + std::chrono::seconds(i));
    keeper.enter(&ids[1], ConnectionKeeper::Phase::reading, start + 2s);
    keeper.enter(&ids[2], ConnectionKeeper::Phase::working, start + 2s);
    EXPECT_TRUE(keeper.toClose(start + 6s).empty());
    // The body is late first; the one still waiting for a head next; work never.
    EXPECT_EQ(keeper.toClose(start + 8s), std::vector<const void *>{&ids[1]});
    EXPECT_EQ(keeper.toClose(start + 11s), std::vector<const void *>{&ids[0]});
    EXPECT_TRUE(keeper.toClose(start + 1000s).empty());
    EXPECT_EQ(keeper.open(), 1u);
    keeper.closed(&ids[0]);
    keeper.closed(&ids[1]);

    // Past the bound the longest waiting goes, however recent its last request.
    keeper.enter(&ids[2], ConnectionKeeper::Phase::waiting, start + 1000s);
    for (int i = 3; i < 6; ++i) keeper.opened(&ids[i], start + 1001s + std::chrono::seconds(i));
    EXPECT_EQ(keeper.toClose(start + 1005s), std::vector<const void *>{&ids[2]});
    keeper.enter(&ids[3], ConnectionKeeper::Phase::working, start + 1005s);
    keeper.enter(&ids[4], ConnectionKeeper::Phase::working, start + 1005s);
    keeper.enter(&ids[5], ConnectionKeeper::Phase::working, start + 1005s);
    int late;
    keeper.opened(&late, start + 1006s);
    EXPECT_EQ(keeper.toClose(start + 1006s), std::vector<const void *>{&late});
}

TEST(StudioModuleThreadTest, PostedWorkRunsInOrderWhileTheCallerGoesOn) {
    ModuleThread moduleThread;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> order;
    moduleThread.post([released] { released.wait(); });
    for (int i = 0; i < 3; ++i) moduleThread.post([&order, i] { order.push_back(i); });
    EXPECT_FALSE(moduleThread.idle());  // held by the first work, not this thread
    release.set_value();
    moduleThread.run([] {});
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(moduleThread.idle());
}

}  // namespace
}  // namespace plof::host::http
