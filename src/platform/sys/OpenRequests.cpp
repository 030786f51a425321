#include "platform/sys/OpenRequests.h"

#include <deque>

namespace {

std::deque<std::string>& Requests() {
    static std::deque<std::string> requests;
    return requests;
}

} // namespace

void RequestOpen(const std::string& path) {
    Requests().push_back(path);
}

std::optional<std::string> TakeOpenRequest() {
    auto& requests = Requests();
    if (requests.empty())
        return std::nullopt;
    std::string path = std::move(requests.front());
    requests.pop_front();
    return path;
}
