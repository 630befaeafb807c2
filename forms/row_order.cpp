#include "forms/row_order.h"

#include "runtime/runtime_error.h"

#include <algorithm>
#include <map>

namespace tuvrel::forms {

std::vector<ControlDescription> inRowOrder(std::vector<ControlDescription> rows, const std::vector<std::string>& order,
                                           std::string_view form)
{
    const std::string where(form);
    std::map<std::string, ControlDescription, std::less<>> byName;
    for (ControlDescription& row : rows) {
        std::string name = row.name;
        if (!byName.emplace(name, std::move(row)).second)
            throw RuntimeError(where + ": " + name + " is built twice");
    }
    std::vector<ControlDescription> ordered;
    ordered.reserve(order.size());
    for (const std::string& name : order) {
        const auto it = byName.find(name);
        if (it == byName.end())
            throw RuntimeError(where + ": the order of the rows names " + name + ", which is no row");
        ordered.push_back(std::move(it->second));
        byName.erase(it);
    }
    if (!byName.empty())
        throw RuntimeError(where + ": " + byName.begin()->first + " has no place in the order of the rows");
    return ordered;
}

}  // namespace tuvrel::forms
