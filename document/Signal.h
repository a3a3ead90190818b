#pragma once
// A small signal without a toolkit: any number of listeners connect a
// function and are called, in the order they connected, whenever the owner
// emits. A listener keeps the Connection it got; when that goes (the
// listener's destructor), the function is never called again. Listeners may
// connect and disconnect while a signal is being emitted: one disconnected
// then is not called, one connected then is called from the next emit on.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace zelvane {

template <typename... Args>
class Signal {
    struct Slot {
        std::function<void(Args...)> function;
        bool connected = true;
    };
    struct Slots {
        std::vector<std::shared_ptr<Slot>> list;
    };

public:
    // Disconnects on destruction; movable, not copyable. An empty one (default
    // made, or moved from) does nothing.
    class Connection {
    public:
        Connection() = default;
        Connection(Connection&& other) noexcept
            : slots_(std::move(other.slots_)), slot_(std::exchange(other.slot_, {}))
        {
        }
        Connection& operator=(Connection&& other) noexcept
        {
            if (this != &other) {
                Disconnect();
                slots_ = std::move(other.slots_);
                slot_ = std::exchange(other.slot_, {});
            }
            return *this;
        }
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;
        ~Connection() { Disconnect(); }

        void Disconnect()
        {
            if (const std::shared_ptr<Slot> slot = slot_.lock())
                slot->connected = false;
            if (const std::shared_ptr<Slots> owner = slots_.lock())
                std::erase_if(owner->list, [](const std::shared_ptr<Slot>& s) { return !s->connected; });
            slots_.reset();
            slot_.reset();
        }

    private:
        friend class Signal;
        Connection(std::weak_ptr<Slots> owner, std::weak_ptr<Slot> slot)
            : slots_(std::move(owner)), slot_(std::move(slot))
        {
        }
        std::weak_ptr<Slots> slots_;
        std::weak_ptr<Slot> slot_;
    };

    Signal() = default;
    // A signal belongs to its owner: copies would share or lose listeners.
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Connection Connect(std::function<void(Args...)> function)
    {
        auto slot = std::make_shared<Slot>();
        slot->function = std::move(function);
        slots_->list.push_back(slot);
        return Connection(slots_, slot);
    }

    void Emit(Args... args) const
    {
        // A copy, so that listeners may connect and disconnect meanwhile.
        const std::vector<std::shared_ptr<Slot>> current = slots_->list;
        for (const std::shared_ptr<Slot>& slot : current)
            if (slot->connected)
                slot->function(args...);
    }

    std::size_t ListenerCount() const { return slots_->list.size(); }

private:
    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

} // namespace zelvane
