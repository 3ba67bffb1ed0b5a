// An action that runs when the scope that holds it ends, by return or by
// exception: the undo of a step that has no handle of its own to own (a
// flag set for the length of a call, windows disabled around a modal loop,
// a library initialised for the program's run).
#pragma once

#include <functional>
#include <utility>

class TScopeExit {
public:
    explicit TScopeExit(std::function<void()> action) : action_(std::move(action)) {}
    ~TScopeExit()
    {
        if (action_)
            action_();
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    std::function<void()> action_;
};
