#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

// The cells a list view keeps off screen, by reuse identifier, and the factories that make new ones.
template<typename Cell>
class CellReusePool {
public:
    using Factory = std::function<std::shared_ptr<Cell>(const std::string& reuseIdentifier)>;

    void registerFactory(const std::string& identifier, Factory factory)
    {
        if (factory)
            m_factories[identifier] = std::move(factory);
        else
            m_factories.erase(identifier);
    }

    // A pooled cell, already prepared for reuse, or null when none waits.
    std::shared_ptr<Cell> takePooled(const std::string& identifier)
    {
        auto it = m_pool.find(identifier);
        if (it == m_pool.end() || it->second.empty())
            return nullptr;
        auto cell = std::move(it->second.back());
        it->second.pop_back();
        cell->prepareForReuse();
        return cell;
    }

    // A fresh cell from the registered factory, or null when there is none.
    std::shared_ptr<Cell> makeNew(const std::string& identifier) const
    {
        auto it = m_factories.find(identifier);
        return it == m_factories.end() ? nullptr : it->second(identifier);
    }

    size_t size(const std::string& identifier) const
    {
        auto it = m_pool.find(identifier);
        return it == m_pool.end() ? 0 : it->second.size();
    }

    void enqueue(const std::shared_ptr<Cell>& cell)
    {
        if (!cell || cell->reuseIdentifier().empty())
            return;
        auto& pool = m_pool[cell->reuseIdentifier()];
        if (pool.size() < limit && std::find(pool.begin(), pool.end(), cell) == pool.end())
            pool.push_back(cell);
    }

    // A data source may hand out a pooled cell without dequeuing it: it must not stay pooled too.
    void remove(const std::shared_ptr<Cell>& cell)
    {
        if (auto it = m_pool.find(cell->reuseIdentifier()); it != m_pool.end())
            it->second.erase(std::remove(it->second.begin(), it->second.end(), cell), it->second.end());
    }

private:
    // A data source that makes new cells instead of dequeuing would otherwise grow the pool
    // without end while scrolling.
    static constexpr size_t limit = 64;

    std::unordered_map<std::string, Factory> m_factories;
    std::unordered_map<std::string, std::vector<std::shared_ptr<Cell>>> m_pool;
};

} // namespace ui
