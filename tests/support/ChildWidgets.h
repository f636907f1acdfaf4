#pragma once

// A window's part found by its object name: the test fails, without crashing, when it is
// missing, and the caller's null check or ASSERT stops there.

#include <gtest/gtest.h>

#include <QObject>
#include <QString>

namespace pelo::test {

template <typename T>
T* Child(const QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) ADD_FAILURE() << "no child " << name;
  return child;
}

}  // namespace pelo::test
