// A window made when it is first used rather than together with its owner: showing it, reading
// or setting its controls, or taking its address makes it first. Once made it stays for the
// rest of the run (its owner deletes it), so it keeps its state between showings.
#pragma once

#include <functional>
#include <utility>

namespace sw {

template <class T>
class Deferred {
  public:
    void SetFactory(std::function<T*()> make) { make_ = std::move(make); }

    // The window, made now if it has not been yet; null only when nothing can make it.
    T* get() const {
        if (!object_ && make_)
            object_ = make_();
        return object_;
    }
    T* operator->() const { return get(); }
    operator T*() const { return get(); }

    bool IsMade() const { return object_ != nullptr; }

  private:
    std::function<T*()> make_;
    mutable T* object_ = nullptr;
};

}  // namespace sw
