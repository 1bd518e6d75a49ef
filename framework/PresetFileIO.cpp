#include "detail/PresetFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// Closes a descriptor on every path.
class Descriptor {
public:
  explicit Descriptor(int fd) : mFd(fd) {}
  ~Descriptor() {
    if (mFd >= 0) close(mFd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return mFd; }
  // Closes now so that a failing close is seen.
  bool Close() {
    const int fd = mFd;
    mFd = -1;
    return fd >= 0 && close(fd) == 0;
  }

private:
  int mFd;
};

bool WriteAll(int fd, const unsigned char* bytes, int size) {
  while (size > 0) {
    const ssize_t n = write(fd, bytes, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<int>(n);
  }
  return true;
}

// A new file beside `path` that nobody else opened, with the permissions an
// ordinary new file gets (the umask applies).
int CreateTemporary(const std::string& path, std::string* tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tempPath = path + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

} // namespace

bool ReadPresetFile(const char* path, ByteChunk* bytes) {
  if (!path || !*path || !bytes) return false;
  Descriptor file(open(path, O_RDONLY | O_CLOEXEC));
  struct stat st;
  if (file.Get() < 0 || fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (st.st_size > kMaxPresetFileSize) return false;
  bytes->Clear();
  // Read to the end, not to the size seen: the file may change meanwhile,
  // but never past the bound.
  unsigned char block[65536];
  for (;;) {
    const ssize_t n = read(file.Get(), block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (n > kMaxPresetFileSize - bytes->Size()) return false;
    const int before = bytes->Size();
    if (bytes->PutBytes(block, static_cast<int>(n)) != before + n) return false;
  }
}

bool WritePresetFile(const char* path, const ByteChunk& bytes) {
  if (!path || !*path) return false;
  std::string tempPath;
  Descriptor file(CreateTemporary(path, &tempPath));
  if (file.Get() < 0) return false;
  const bool written = WriteAll(file.Get(), bytes.GetBytes(), bytes.Size()) &&
                       fsync(file.Get()) == 0 && file.Close() &&
                       rename(tempPath.c_str(), path) == 0;
  if (!written) unlink(tempPath.c_str());
  return written;
}
