// The button host contract, for the headless host of the tests, benchmarks and render tool.
#include "buttons/testing/ButtonHostContract.h"

#include "buttons/testing/HeadlessHost.h"

namespace {

struct HeadlessWorld {
    HeadlessWorld(int width, int height) : host(width, height) {}
    buttons::ButtonHost& Host() { return host; }
    buttons::testing::HeadlessHost host;
};

}  // namespace

namespace buttons::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Headless, ButtonHostContract, HeadlessWorld);
}  // namespace buttons::testing
