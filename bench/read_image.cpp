// The least a program that answers from the bundled image must do: start,
// read the image into memory and exit. The floor under `unihan show`.
//
//   read_image IMAGE
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    (void)std::fprintf(stderr, "usage: read_image IMAGE\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || st.st_size <= 0) return 1;
  std::vector<char> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t have = 0;
  while (have < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
    if (got <= 0) return 1;
    have += static_cast<std::size_t>(got);
  }
  close(fd);
  return 0;
}
