#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_count{0};
std::atomic<std::size_t> g_bytes{0};

void* Allocate(std::size_t size, std::size_t align)
{
    g_count.fetch_add(1, std::memory_order_relaxed);
    g_bytes.fetch_add(size, std::memory_order_relaxed);
    void* p = nullptr;
    if (align <= alignof(std::max_align_t))
        p = std::malloc(size == 0 ? 1 : size);
    else
        p = std::aligned_alloc(align, (size + align - 1) / align * align);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

} // namespace

namespace AllocationCounter {

std::size_t Count()
{
    return g_count.load(std::memory_order_relaxed);
}

std::size_t Bytes()
{
    return g_bytes.load(std::memory_order_relaxed);
}

} // namespace AllocationCounter

void* operator new(std::size_t size)
{
    return Allocate(size, alignof(std::max_align_t));
}

void* operator new[](std::size_t size)
{
    return Allocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t align)
{
    return Allocate(size, static_cast<std::size_t>(align));
}

void* operator new[](std::size_t size, std::align_val_t align)
{
    return Allocate(size, static_cast<std::size_t>(align));
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
