// An allocator for the entries of the project's tables: entries of one size come from
// blocks of many, so that a table's entries lie together in memory rather than among the
// element records and memo parts made between them. A command walks the entries of
// consecutive elements, which then lie together instead of a page or more apart.
// Freed entries are kept for the next ones.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <new>
#include <vector>

namespace Sim {

class NodePool {
public:
	// The pool of entries of that size. Pools are never destroyed: tables in static
	// objects give their entries back while the program ends.
	static NodePool& OfSize(std::size_t size)
	{
		static auto* pools = new std::map<std::size_t, NodePool>;
		return pools->try_emplace(size, size).first->second;
	}

	explicit NodePool(std::size_t size) : entrySize(RoundedUp(size)) {}

	void* Allocate()
	{
		if (freeEntries == nullptr)
			Grow();
		Free* entry = freeEntries;
		freeEntries = entry->next;
		return entry;
	}
	void Release(void* entry) { freeEntries = new (entry) Free{freeEntries}; }

private:
	struct Free {
		Free* next;
	};
	static constexpr std::size_t blockBytes = std::size_t(64) << 10;

	static std::size_t RoundedUp(std::size_t size)
	{
		const std::size_t alignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
		return (std::max(size, sizeof(Free)) + alignment - 1) / alignment * alignment;
	}

	void Grow()
	{
		const std::size_t count = std::max<std::size_t>(blockBytes / entrySize, 16);
		// Aligned for any entry, as entry sizes are multiples of that alignment.
		blocks.emplace_back(new char[count * entrySize]);
		char* block = blocks.back().get();
		for (std::size_t i = count; i-- > 0;)
			Release(block + i * entrySize);
	}

	std::size_t entrySize;
	Free* freeEntries = nullptr;
	std::vector<std::unique_ptr<char[]>> blocks;
};

// Single entries from the pool of their size; arrays (a hash table's buckets) as usual.
// Under AddressSanitizer every entry is its own allocation, so that a use after free shows.
template <typename T> struct PooledAllocator {
	using value_type = T;

	PooledAllocator() = default;
	template <typename U> PooledAllocator(const PooledAllocator<U>&) {}

	T* allocate(std::size_t n)
	{
		if (n != 1 || sanitized)
			return std::allocator<T>().allocate(n);
		return static_cast<T*>(Pool().Allocate());
	}
	void deallocate(T* entry, std::size_t n)
	{
		if (n != 1 || sanitized)
			std::allocator<T>().deallocate(entry, n);
		else
			Pool().Release(entry);
	}

	template <typename U> bool operator==(const PooledAllocator<U>&) const { return true; }
	template <typename U> bool operator!=(const PooledAllocator<U>&) const { return false; }

private:
	static NodePool& Pool()
	{
		static NodePool& pool = NodePool::OfSize(sizeof(T));
		return pool;
	}

#if defined(__SANITIZE_ADDRESS__)
	static constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
	static constexpr bool sanitized = true;
#else
	static constexpr bool sanitized = false;
#endif
#else
	static constexpr bool sanitized = false;
#endif
};

} // namespace Sim
