#pragma once
// What this PC allows for reservation mode: the system's power library,
// looked up by name so that the program starts where it is missing, and the
// class of the running Windows.

#include "win32/windows_include.h"

#include "win32/handles.h"

namespace brontel {

class PowerLibrary {
 public:
  // Loads "powrprof.dll" from the system folder and looks up the seven entry
  // points reservation mode relies on; true only when all are there.
  bool Load();
  void Free();
  bool complete() const { return m_complete; }
  // The library's answer; false when it is not loaded.
  bool IsHibernateAllowed() const;

 private:
  using BoolQuery = BOOLEAN(WINAPI*)();
  UniqueModule m_module;
  BoolQuery m_isHibernateAllowed = nullptr;
  bool m_complete = false;
};

// The class of the running Windows (see power::OsClassOf).
int GetOsClass();

}  // namespace brontel
