#pragma once
// An array from the C heap that can be handed over: what meshport gives the
// host must come from an allocator the host never uses to free it, and must
// outlive the import, so the arrays are malloc'd, owned here while the file
// is read, and released into the MeshSet at the end.

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace zelvane::pluginkit {

template <typename T>
class MallocArray {
    static_assert(std::is_trivially_copyable_v<T>, "MallocArray holds plain records");

public:
    MallocArray() = default;
    // `count` zero-filled elements; never a null pointer, even for 0 elements.
    explicit MallocArray(size_t count) { Allocate(count); }
    ~MallocArray() { std::free(data_); }

    MallocArray(MallocArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
    {
    }
    MallocArray& operator=(MallocArray&& other) noexcept
    {
        if (this != &other) {
            std::free(data_);
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    MallocArray(const MallocArray&) = delete;
    MallocArray& operator=(const MallocArray&) = delete;

    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    // Changes the element count; new elements are zero-filled.
    void Resize(size_t count)
    {
        if (!data_) {
            Allocate(count);
            return;
        }
        void* grown = std::realloc(data_, Bytes(count));
        if (!grown)
            throw std::bad_alloc();
        data_ = static_cast<T*>(grown);
        if (count > size_)
            std::memset(data_ + size_, 0, (count - size_) * sizeof(T));
        size_ = count;
    }

    // Gives up the array: the caller frees it with std::free.
    T* Release()
    {
        if (!data_)
            Allocate(0);
        size_ = 0;
        return std::exchange(data_, nullptr);
    }

private:
    static size_t Bytes(size_t count) { return (count ? count : 1) * sizeof(T); }

    void Allocate(size_t count)
    {
        if (count > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        data_ = static_cast<T*>(std::calloc(count ? count : 1, sizeof(T)));
        if (!data_)
            throw std::bad_alloc();
        size_ = count;
    }

    T* data_ = nullptr;
    size_t size_ = 0;
};

} // namespace zelvane::pluginkit
