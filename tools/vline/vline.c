/* Virtual null-modem cable: pty pair, port link and published line settings. */
#define _GNU_SOURCE
#include "vline.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

void vline_state_path(const char *slave, char *out, size_t n) {
  const char *p = strrchr(slave, '/');
  snprintf(out, n, "/dev/shm/vline-pts-%s", p ? p + 1 : slave);
}

static int write_state(const char *path, const char *text) {
  char tmp[256];
  snprintf(tmp, sizeof tmp, "%s.%d.tmp", path, (int)getpid());
  FILE *f = fopen(tmp, "w");
  if (!f) return -1;
  fputs(text, f);
  if (fclose(f) != 0) { unlink(tmp); return -1; }
  return rename(tmp, path);
}

int vline_open(vline *v, const char *link) {
  memset(v, 0, sizeof *v);
  v->master = v->slave_keep = -1;
  int m = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m < 0) return -1;
  if (grantpt(m) != 0 || unlockpt(m) != 0 || ptsname_r(m, v->slave, sizeof v->slave) != 0) {
    int e = errno; close(m); errno = e; return -1;
  }
  int s = open(v->slave, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (s < 0) { int e = errno; close(m); errno = e; return -1; }
  struct termios t;
  if (tcgetattr(s, &t) == 0) { cfmakeraw(&t); tcsetattr(s, TCSANOW, &t); }
  v->master = m;
  v->slave_keep = s;
  vline_state_path(v->slave, v->state, sizeof v->state);
  write_state(v->state, "baud=0 parity=N data=8 stop=1 dtr=0 rts=0 seq=0\n");
  if (link) {
    snprintf(v->link, sizeof v->link, "%s", link);
    char tmp[4200];
    snprintf(tmp, sizeof tmp, "%s.%d.tmp", link, (int)getpid());
    unlink(tmp);
    if (symlink(v->slave, tmp) != 0 || rename(tmp, link) != 0) {
      int e = errno; unlink(tmp); vline_close(v); errno = e; return -1;
    }
  }
  return 0;
}

/* Points a port link at the folder ".dead" beside it: Wine then fails to open
 * the port, as Windows does for a port with nothing behind it. (A missing link
 * would not do: Wine falls back to /dev/ttyS<n-1>.) */
int vline_unplug(const char *link) {
  char dir[4200], tmp[4300];
  snprintf(dir, sizeof dir, "%s", link);
  char *slash = strrchr(dir, '/');
  if (slash) *slash = 0; else snprintf(dir, sizeof dir, ".");
  char dead[4300];
  snprintf(dead, sizeof dead, "%s/.dead", dir);
  mkdir(dead, 0755);
  snprintf(tmp, sizeof tmp, "%s.%d.tmp", link, (int)getpid());
  unlink(tmp);
  if (symlink(".dead", tmp) != 0) return -1;
  if (rename(tmp, link) != 0) { unlink(tmp); return -1; }
  return 0;
}

void vline_close(vline *v) {
  if (v->link[0]) {
    /* Only while the link is still ours: a newer cable may own it by now. */
    char target[sizeof v->slave];
    ssize_t n = readlink(v->link, target, sizeof target - 1);
    if (n > 0) {
      target[n] = 0;
      if (strcmp(target, v->slave) == 0) vline_unplug(v->link);
    }
    v->link[0] = 0;
  }
  if (v->master >= 0) close(v->master);
  if (v->slave_keep >= 0) close(v->slave_keep);
  if (v->state[0]) unlink(v->state);
  v->master = v->slave_keep = -1;
}

int vline_settings_publish(const char *slave, const vline_settings *s) {
  char path[128], text[160];
  vline_state_path(slave, path, sizeof path);
  snprintf(text, sizeof text, "baud=%d parity=%c data=%d stop=%d dtr=%d rts=%d seq=%u\n",
           s->baud, s->parity, s->data_bits, s->stop_bits, s->dtr, s->rts, s->seq);
  return write_state(path, text);
}

int vline_settings_parse(const char *text, vline_settings *out) {
  vline_settings s = {0, 'N', 8, 1, 0, 0, 0};
  char parity = 'N';
  int n = sscanf(text, "baud=%d parity=%c data=%d stop=%d dtr=%d rts=%d seq=%u",
                 &s.baud, &parity, &s.data_bits, &s.stop_bits, &s.dtr, &s.rts, &s.seq);
  s.parity = parity;
  *out = s;
  return n == 7 && s.baud > 0 ? 0 : -1;
}

int vline_settings_read(const vline *v, vline_settings *out) {
  char buf[256] = {0};
  FILE *f = fopen(v->state, "r");
  if (!f) { vline_settings_parse("", out); return -1; }
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  return vline_settings_parse(buf, out);
}

long vline_wire_us(const vline_settings *s, size_t n) {
  if (s->baud <= 0) return 0;
  /* stop bits: 1, 15 (1.5) or 2, counted in half bits */
  long half_bits = 2 * (1 + s->data_bits + (s->parity != 'N' ? 1 : 0)) + (s->stop_bits == 15 ? 3 : 2 * s->stop_bits);
  return (long)((long long)n * half_bits * 1000000LL / (2LL * s->baud));
}
