// base::Task: a piece of work handed to a run loop, a dispatch queue or the worker pool: a callable taking
// nothing and returning nothing, like std::function<void()>, but move-only and kept inside the task itself
// when what it captures fits in InlineBytes (a few shared pointers and a block), so that posting work
// allocates nothing on the common path. A larger callable is kept on the heap. An empty task (default, from
// nullptr or from an empty std::function) is never called. Any thread; a task is used by one thread at a time.
//
//   base::Task task = [self = shared_from_this()] { self->reload(); };
//   queue->async(std::move(task));
#pragma once

#include <cstddef>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>

namespace base {

namespace detail {
    template <typename Callable> constexpr bool isStdFunction = false;
    template <typename Signature> constexpr bool isStdFunction<std::function<Signature>> = true;
} // namespace detail

class Task {
public:
    // Enough for the delivery of a reply: the operation, its block, the reply and its ticket.
    static constexpr size_t InlineBytes = 80;

    Task() noexcept = default;
    Task(std::nullptr_t) noexcept { }

    template <typename Callable>
    requires(
        !std::is_same_v<std::remove_cvref_t<Callable>, Task> && std::is_invocable_r_v<void, std::decay_t<Callable>&>)
        Task(Callable&& callable)
    {
        using Stored = std::decay_t<Callable>;
        // An empty std::function (or a null function pointer) makes an empty task, never called; a function
        // named directly is never null.
        if constexpr (detail::isStdFunction<Stored> || std::is_pointer_v<std::remove_cvref_t<Callable>>) {
            if (!callable)
                return;
        }
        if constexpr (fitsInline<Stored>()) {
            ::new (static_cast<void*>(m_storage)) Stored(std::forward<Callable>(callable));
            m_operations = &inlineOperations<Stored>;
        } else {
            ::new (static_cast<void*>(m_storage)) Stored*(new Stored(std::forward<Callable>(callable)));
            m_operations = &boxedOperations<Stored>;
        }
    }

    Task(Task&& other) noexcept { takeFrom(other); }
    Task& operator=(Task&& other) noexcept
    {
        if (this != &other) {
            reset();
            takeFrom(other);
        }
        return *this;
    }
    Task& operator=(std::nullptr_t) noexcept
    {
        reset();
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    explicit operator bool() const noexcept { return m_operations != nullptr; }

    // Runs the work; it stays in the task and may run again.
    void operator()() const { m_operations->invoke(const_cast<unsigned char*>(m_storage)); }

private:
    struct Operations {
        void (*invoke)(void* storage);
        // Moves the callable from one storage into the other, leaving the first one destroyed.
        void (*relocate)(void* from, void* to) noexcept;
        void (*destroy)(void* storage) noexcept;
    };

    template <typename Stored> static constexpr bool fitsInline()
    {
        return sizeof(Stored) <= InlineBytes && alignof(Stored) <= alignof(std::max_align_t)
            && std::is_nothrow_move_constructible_v<Stored>;
    }

    template <typename Stored>
    static constexpr Operations inlineOperations {
        [](void* storage) { (*std::launder(static_cast<Stored*>(storage)))(); },
        [](void* from, void* to) noexcept {
            Stored* source = std::launder(static_cast<Stored*>(from));
            ::new (to) Stored(std::move(*source));
            source->~Stored();
        },
        [](void* storage) noexcept { std::launder(static_cast<Stored*>(storage))->~Stored(); },
    };

    template <typename Stored>
    static constexpr Operations boxedOperations {
        [](void* storage) { (**std::launder(static_cast<Stored**>(storage)))(); },
        [](void* from, void* to) noexcept { ::new (to) Stored*(*std::launder(static_cast<Stored**>(from))); },
        [](void* storage) noexcept { delete *std::launder(static_cast<Stored**>(storage)); },
    };

    void takeFrom(Task& other) noexcept
    {
        if (!other.m_operations)
            return;
        other.m_operations->relocate(other.m_storage, m_storage);
        m_operations = std::exchange(other.m_operations, nullptr);
    }
    void reset() noexcept
    {
        // Emptied before the callable goes, so that whatever its captures' destructors do sees an empty task.
        if (const Operations* operations = std::exchange(m_operations, nullptr))
            operations->destroy(m_storage);
    }

    alignas(std::max_align_t) unsigned char m_storage[InlineBytes];
    const Operations* m_operations { nullptr };
};

} // namespace base
