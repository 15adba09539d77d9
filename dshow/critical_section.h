#pragma once
// A Win32 critical section and its scoped lock.

#include "win32/windows_include.h"

namespace brontel::dshow {

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&m_cs); }
  ~CriticalSection() { DeleteCriticalSection(&m_cs); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Lock() { EnterCriticalSection(&m_cs); }
  void Unlock() { LeaveCriticalSection(&m_cs); }

 private:
  CRITICAL_SECTION m_cs;
};

class AutoLock {
 public:
  explicit AutoLock(CriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
  ~AutoLock() { m_cs.Unlock(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  CriticalSection& m_cs;
};

}  // namespace brontel::dshow
