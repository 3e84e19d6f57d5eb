// What the studio's server checks and owns without the HTTP library: who may
// drive it (request_guard) and the one thread that calls the module
// (module_thread).
#include <atomic>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "host/base/random_token.h"
#include "host/http/module_thread.h"
#include "host/http/request_guard.h"

namespace plof::host::http {
namespace {

TEST(StudioRequestGuardTest, TheInterfaceTakesTheTokenAsABearerHeaderOnlyFromTheServerItself) {
    const std::string token = newToken();
    EXPECT_EQ(token.size(), 32u);
    EXPECT_NE(token, newToken());
    const std::string bearer = "Bearer " + token;
    for (const RequestFacts &facts : {
             RequestFacts{"/api/state", "127.0.0.1:8123", "", bearer},
             RequestFacts{"/api/state", "localhost:8123", "http://localhost:8123", "bearer \t " + token},
             RequestFacts{"/", "127.0.0.1:8123", "", ""},  // the page holds nothing of the user's
             RequestFacts{"/plof-studio.js", "localhost:8123", "", ""},
         }) {
        EXPECT_EQ(refusalReason(facts, token, 8123), "") << facts.path << " " << facts.authorization;
    }

    const RequestFacts refused[] = {
        {"/api/state", "127.0.0.1:8123", "", ""},                           // no token
        {"/api/state", "127.0.0.1:8123", "", "Bearer " + token.substr(1)},  // part of it
        {"/api/state", "127.0.0.1:8123", "", "Basic " + token},             // not a bearer
        {"/api/state", "127.0.0.1:8123", "", "Bearer" + token},             // no blank after the scheme
        {"/api/state", "127.0.0.1:8123", "", token},                        // no scheme
        {"/api/state", "rebound.example:8123", "", bearer},                 // DNS rebinding
        {"/", "rebound.example:8123", "", ""},                              // ... of the page too
        {"/api/state", "127.0.0.1:8124", "", bearer},                       // another port
        {"/api/state", "127.0.0.1:8123", "http://evil.example", bearer},    // another site
        {"/api/state", "127.0.0.1:8123", "null", bearer},                   // a sandboxed page
    };
    for (const RequestFacts &facts : refused) {
        EXPECT_NE(refusalReason(facts, token, 8123), "") << facts.path << " " << facts.host << " " << facts.origin;
    }
}

TEST(StudioModuleThreadTest, OneThreadInQueueOrderFailuresToTheCaller) {
    ModuleThread moduleThread;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<int> running{0}, mostRunning{0};
    int done = 0;
    std::vector<std::thread> callers;
    for (int c = 0; c < 8; ++c) {
        callers.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                moduleThread.run([&] {
                    const int now = ++running;  // outside any lock: two at once would show
                    if (now > mostRunning) mostRunning = now;
                    std::this_thread::yield();
                    {
                        std::lock_guard lock(mutex);
                        threads.insert(std::this_thread::get_id());
                        ++done;
                    }
                    --running;
                });
            }
        });
    }
    for (std::thread &caller : callers) caller.join();
    EXPECT_EQ(done, 400);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(mostRunning, 1);
    EXPECT_THROW(moduleThread.run([] { throw std::runtime_error("module failed"); }), std::runtime_error);
    moduleThread.run([&] { ++done; });  // still serving
    EXPECT_EQ(done, 401);
}

}  // namespace
}  // namespace plof::host::http
