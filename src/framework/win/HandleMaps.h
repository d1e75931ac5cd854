// Which object stands for a window or menu handle. Permanent entries are the objects that own
// their windows (process-wide, any thread may look them up); temporary wrappers made for
// foreign handles belong to the thread that asked and go when its message loop is idle.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <unordered_map>

template <class T, class H>
class CTempHandleMap {
public:
    // The wrapper of handle, made on first use; wrappers never own their handles.
    static T* Get(H handle)
    {
        auto& map = Map();
        auto found = map.find(handle);
        if (found != map.end())
            return found->second.get();
        std::unique_ptr<T, Releaser> object(new T);
        Releaser::Set(*object, handle);
        T* result = object.get();
        map.emplace(handle, std::move(object));
        return result;
    }
    static void Clear() { Map().clear(); }

private:
    struct Releaser {
        static void Set(T& object, H handle);
        void operator()(T* object) const;
    };
    static std::unordered_map<H, std::unique_ptr<T, Releaser>>& Map()
    {
        thread_local std::unordered_map<H, std::unique_ptr<T, Releaser>> s_map;
        return s_map;
    }
};

class CWnd;

class CPermanentWindowMap {
public:
    static void Add(HWND hwnd, CWnd* wnd)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Map()[hwnd] = wnd;
    }
    static void Remove(HWND hwnd)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Map().erase(hwnd);
    }
    static CWnd* Find(HWND hwnd)
    {
        std::lock_guard<std::mutex> lock(Mutex());
        auto found = Map().find(hwnd);
        return found == Map().end() ? nullptr : found->second;
    }

private:
    // Never destroyed: window objects of static storage may look themselves up at exit.
    static std::mutex& Mutex()
    {
        static std::mutex* s_mutex = new std::mutex;
        return *s_mutex;
    }
    static std::unordered_map<HWND, CWnd*>& Map()
    {
        static auto* s_map = new std::unordered_map<HWND, CWnd*>;
        return *s_map;
    }
};
