/* The Linux module's floor in the C library: glibc 2.31 (Ubuntu 20.04, Debian 11), where many
 * Double Commander users are. Linked into the module only, with "-Wl,--wrap=NAME" for each
 * symbol below (QZR_GLIBC_WRAPPED in CMakeLists.txt): every reference to NAME in the module, the
 * static C++ runtime and unwinder included, then lands here instead of on a symbol version that
 * the building system's newer glibc made the default. The test glibc_floor checks the result.
 *
 * - The stat calls became exported functions in 2.33; before, they were inlines calling
 *   __xstat and its kin, which every glibc since 2.2.5 (__fxstatat: 2.4) still exports.
 * - The thread and dl calls moved from libpthread and libdl into libc in 2.34 under a new
 *   version; their old versions remain. The module names libpthread.so.0 and libdl.so.2 as
 *   needed (stubs today) so that an older system finds them where they then lived.
 * - __libc_single_threaded (2.32) lets the C++ runtime skip atomics in a single-threaded
 *   process; ours says "maybe threaded" always, which is what the runtime assumes without it.
 * - arc4random (2.36) seeds std::random_device; getrandom (2.25) gives the same bytes.
 * - _dl_find_object (2.35) finds the unwind table of the object holding an address for the
 *   unwinder; dl_iterate_phdr finds it too, as the unwinder itself did before 2.35. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <link.h>
#include <pthread.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#if !defined(__x86_64__)
#error "the symbol versions below are those of x86_64"
#endif

/* Bound to the named old version of each symbol. */
#define QZR_OLD(local, name) __asm__(".symver " #local "," #name "@GLIBC_2.2.5")
QZR_OLD(old_xstat, __xstat);
QZR_OLD(old_lxstat, __lxstat);
QZR_OLD(old_fxstat, __fxstat);
__asm__(".symver old_fxstatat,__fxstatat@GLIBC_2.4");
QZR_OLD(old_rwlock_rdlock, pthread_rwlock_rdlock);
QZR_OLD(old_rwlock_wrlock, pthread_rwlock_wrlock);
QZR_OLD(old_rwlock_unlock, pthread_rwlock_unlock);
QZR_OLD(old_key_create, __pthread_key_create);
QZR_OLD(old_once, pthread_once);
QZR_OLD(old_dladdr, dladdr);

int old_xstat(int, const char*, struct stat*);
int old_lxstat(int, const char*, struct stat*);
int old_fxstat(int, int, struct stat*);
int old_fxstatat(int, int, const char*, struct stat*, int);
int old_rwlock_rdlock(pthread_rwlock_t*);
int old_rwlock_wrlock(pthread_rwlock_t*);
int old_rwlock_unlock(pthread_rwlock_t*);
int old_key_create(pthread_key_t*, void (*)(void*));
int old_once(pthread_once_t*, void (*)(void));
int old_dladdr(const void*, Dl_info*);

/* The layout the kernel and struct stat share on x86_64 (_STAT_VER_LINUX). */
enum { kStatVersion = 1 };

int __wrap_stat(const char* path, struct stat* out) { return old_xstat(kStatVersion, path, out); }
int __wrap_lstat(const char* path, struct stat* out) { return old_lxstat(kStatVersion, path, out); }
int __wrap_fstat(int fd, struct stat* out) { return old_fxstat(kStatVersion, fd, out); }
int __wrap_fstatat(int folder, const char* path, struct stat* out, int flags) {
  return old_fxstatat(kStatVersion, folder, path, out, flags);
}

int __wrap_pthread_rwlock_rdlock(pthread_rwlock_t* lock) { return old_rwlock_rdlock(lock); }
int __wrap_pthread_rwlock_wrlock(pthread_rwlock_t* lock) { return old_rwlock_wrlock(lock); }
int __wrap_pthread_rwlock_unlock(pthread_rwlock_t* lock) { return old_rwlock_unlock(lock); }
int __wrap___pthread_key_create(pthread_key_t* key, void (*destructor)(void*)) {
  return old_key_create(key, destructor);
}
int __wrap_pthread_once(pthread_once_t* once, void (*routine)(void)) { return old_once(once, routine); }
int __wrap_dladdr(const void* address, Dl_info* info) { return old_dladdr(address, info); }

char __wrap___libc_single_threaded = 0;

/* Never fails, as arc4random never does: the kernel's pool, else /dev/urandom, else abort. */
uint32_t __wrap_arc4random(void) {
  uint32_t value;
  for (;;) {
    ssize_t n = getrandom(&value, sizeof value, 0);
    if (n == (ssize_t)sizeof value) return value;
    if (n < 0 && errno != EINTR) break;
  }
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ssize_t n = read(fd, &value, sizeof value);
    close(fd);
    if (n == (ssize_t)sizeof value) return value;
  }
  abort();
}

/* What the unwinder reads of the result: the object's mapped range and its PT_GNU_EH_FRAME. */
struct FoundObject {
  uintptr_t address;
  struct dl_find_object* result;
  int found;
};

static int FindObjectOf(struct dl_phdr_info* info, size_t size, void* data) {
  (void)size;
  struct FoundObject* wanted = data;
  uintptr_t start = UINTPTR_MAX, end = 0;
  const void* ehFrame = NULL;
  int holds = 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)* header = &info->dlpi_phdr[i];
    uintptr_t from = info->dlpi_addr + header->p_vaddr;
    if (header->p_type == PT_GNU_EH_FRAME) ehFrame = (const void*)from;
    if (header->p_type != PT_LOAD) continue;
    if (from < start) start = from;
    if (from + header->p_memsz > end) end = from + header->p_memsz;
    if (wanted->address >= from && wanted->address < from + header->p_memsz) holds = 1;
  }
  if (!holds) return 0;
  wanted->result->dlfo_flags = 0;
  wanted->result->dlfo_map_start = (void*)start;
  wanted->result->dlfo_map_end = (void*)end;
  wanted->result->dlfo_link_map = NULL;
  wanted->result->dlfo_eh_frame = (void*)ehFrame;
  wanted->found = 1;
  return 1;
}

int __wrap__dl_find_object(void* address, struct dl_find_object* result) {
  struct FoundObject wanted = {(uintptr_t)address, result, 0};
  dl_iterate_phdr(FindObjectOf, &wanted);
  return wanted.found ? 0 : -1;
}
