/* Device end of the road test: answers each line with the line settings the
 * Windows program set, e.g. "ECHO ping 57600 E 8 1\r\n". Writes the file READY
 * once the cable is plugged in. Exits on "QUIT", or after 30 s without a line. */
#define _GNU_SOURCE
#include "vline.h"

#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char **argv) {
  if (argc != 3) { fprintf(stderr, "usage: road_peer LINK READY\n"); return 2; }
  vline v;
  if (vline_open(&v, argv[1]) != 0) { perror("vline_open"); return 1; }
  FILE *ready = fopen(argv[2], "w");
  if (ready) fclose(ready);
  char line[512];
  size_t n = 0;
  for (;;) {
    struct pollfd p = {v.master, POLLIN, 0};
    if (poll(&p, 1, 30000) <= 0) break;
    char c;
    if (read(v.master, &c, 1) != 1) break;
    if (c == '\r') continue;
    if (c != '\n') { if (n < sizeof line - 1) line[n++] = c; continue; }
    line[n] = 0;
    n = 0;
    if (strcmp(line, "QUIT") == 0) break;
    vline_settings s;
    vline_settings_read(&v, &s);
    char reply[700];
    int len = snprintf(reply, sizeof reply, "ECHO %s %d %c %d %d\r\n", line, s.baud, s.parity, s.data_bits, s.stop_bits);
    if (write(v.master, reply, (size_t)len) != len) break;
  }
  vline_close(&v);
  return 0;
}
