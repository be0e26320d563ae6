#include "DemoRegistry.h"

#include <algorithm>

namespace host {

namespace {

// A function-local list: demo files register during static initialisation, in any order.
std::vector<Demo>& demoList()
{
    static std::vector<Demo> list;
    return list;
}

} // namespace

bool registerDemo(Demo demo)
{
    auto& list = demoList();
    auto at = std::lower_bound(list.begin(), list.end(), demo.flag,
        [](const Demo& entry, const std::string& flag) { return entry.flag < flag; });
    list.insert(at, std::move(demo));
    return true;
}

const std::vector<Demo>& registeredDemos()
{
    return demoList();
}

const Demo* findDemo(const std::string& flag)
{
    for (const auto& demo : demoList()) {
        if (demo.flag == flag)
            return &demo;
    }
    return nullptr;
}

} // namespace host
