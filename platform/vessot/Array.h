#pragma once
// A vector whose indices may count from the end (-1 is the last element) and whose range errors
// throw the base library's container index error.

#include "vessot/Exception.h"

#include <algorithm>
#include <vector>

namespace vessot {

template <class T> class Array : public std::vector<T> {
public:
    using std::vector<T>::vector;
    Array() = default;
    Array(const std::vector<T>& v) : std::vector<T>(v) {}
    Array(std::vector<T>&& v) : std::vector<T>(std::move(v)) {}

    T& operator[](int index) { return std::vector<T>::operator[](resolve(index)); }
    const T& operator[](int index) const { return std::vector<T>::operator[](resolve(index)); }
    T& at(int index) { return (*this)[index]; }
    const T& at(int index) const { return (*this)[index]; }

    int size() const { return (int)std::vector<T>::size(); }
    void add(const T& value) { this->push_back(value); }
    void add(const Array<T>& other) { this->insert(this->end(), other.begin(), other.end()); }

    void insertAt(int index, const T& value) {
        int n = size();
        int i = index < 0 ? index + n : index;
        if (i < 0 || i > n) {
            throwIndexError(index);
        }
        this->insert(this->begin() + i, value);
    }
    T removeAt(int index) {
        int i = resolve(index);
        T value = std::move(std::vector<T>::operator[](i));
        this->erase(this->begin() + i);
        return value;
    }
    T removeFirst() { return removeAt(0); }
    T removeLast() { return removeAt(-1); }
    // Removes every element equal to value; answers how many were removed.
    int remove(const T& value) {
        auto it = std::remove(this->begin(), this->end(), value);
        int removed = (int)(this->end() - it);
        this->erase(it, this->end());
        return removed;
    }
    int indexOf(const T& value) const {
        auto it = std::find(this->begin(), this->end(), value);
        return it == this->end() ? -1 : (int)(it - this->begin());
    }
    bool contains(const T& value) const { return indexOf(value) >= 0; }
    T& first() { return (*this)[0]; }
    T& last() { return (*this)[-1]; }
    const T& first() const { return (*this)[0]; }
    const T& last() const { return (*this)[-1]; }

private:
    int resolve(int index) const {
        int n = size();
        int i = index < 0 ? index + n : index;
        if (i < 0 || i >= n) {
            throwIndexError(index);
        }
        return i;
    }
    void throwIndexError(int index) const {
        throw _IndexError("Array index " + String(index) + " out of range (size " + String(size()) + ")", __FILE__,
                          __LINE__);
    }
};

} // namespace vessot
