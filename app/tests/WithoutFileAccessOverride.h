#pragma once
// Takes from the calling thread, while the object lives, the super-user's
// power to read and write files whatever their mode, so that tests of
// unreadable and read-only files mean the same whether they run as root or
// not. Without that power to begin with, nothing changes.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class TWithoutFileAccessOverride {
public:
  TWithoutFileAccessOverride() {
    FHeader.version = _LINUX_CAPABILITY_VERSION_3;
    FSaved = ::syscall(SYS_capget, &FHeader, FCaps) == 0;
    if (!FSaved) return;
    __user_cap_data_struct lowered[2] = {FCaps[0], FCaps[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ::syscall(SYS_capset, &FHeader, lowered);
  }
  ~TWithoutFileAccessOverride() {
    if (FSaved) ::syscall(SYS_capset, &FHeader, FCaps);
  }
  TWithoutFileAccessOverride(const TWithoutFileAccessOverride&) = delete;
  TWithoutFileAccessOverride& operator=(const TWithoutFileAccessOverride&) = delete;

private:
  __user_cap_header_struct FHeader{};
  __user_cap_data_struct FCaps[2]{};
  bool FSaved = false;
};
