#pragma once
// Owner of one GDI object (font, brush, bitmap, pen): deleted exactly once,
// when the owner goes or is given another object. Not copyable.

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of object, deleting the one held so far.
    void Attach(HGDIOBJ object)
    {
        DeleteObject();
        m_hObject = object;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ object = m_hObject;
        m_hObject = nullptr;
        return object;
    }
    // True when an object was held and deleted.
    BOOL DeleteObject()
    {
        if (m_hObject == nullptr)
            return FALSE;
        const BOOL deleted = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return deleted;
    }

protected:
    HGDIOBJ m_hObject = nullptr;
};
