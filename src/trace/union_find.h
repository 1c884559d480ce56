#pragma once

#include <algorithm>
#include <numeric>
#include <vector>

// Sets of indices that grow by joining, each named by its smallest member.
struct Forest {
    std::vector<int> parent;

    Forest() = default;
    explicit Forest(int size)
        : parent(std::size_t(size))
    {
        std::iota(parent.begin(), parent.end(), 0);
    }
    int find(int i)
    {
        while (parent[std::size_t(i)] != i) {
            parent[std::size_t(i)] = parent[std::size_t(parent[std::size_t(i)])];
            i = parent[std::size_t(i)];
        }
        return i;
    }
    void join(int a, int b)
    {
        a = find(a);
        b = find(b);
        if (a != b)
            parent[std::size_t(std::max(a, b))] = std::min(a, b);
    }
};
