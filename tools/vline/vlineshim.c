/* Preloaded into Wine: makes a pty behave like a serial port with modem lines.
 *
 * Wine's serial driver asks the tty for modem lines and interrupt counters, which
 * a pty does not have; without them GetCommModemStatus fails and a pending
 * WaitCommEvent is cancelled at once. On pty slaves this shim answers those
 * requests (CTS, DSR and DCD on; DTR and RTS kept as set), and keeps a shadow of
 * the line settings the program asked for: the pty driver forces 8 data bits and
 * no parity, so without the shadow the program reads back other settings and the
 * device end cannot see what the program set. The shadow is published for the
 * device end (see vline.h). Every other descriptor passes through untouched. */
#define _GNU_SOURCE
#include "vline.h"

#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#define MAX_LINES 32

struct line {
  dev_t dev;
  int used, has_termios;
  struct termios t;
  int modem; /* TIOCM_DTR | TIOCM_RTS as set by the program */
  unsigned seq;
};

static struct line lines[MAX_LINES];
static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

static int (*real_ioctl)(int, unsigned long, ...);
static int (*real_tcgetattr)(int, struct termios *);
static int (*real_tcsetattr)(int, int, const struct termios *);

static void resolve(void) {
  if (!real_ioctl) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
  if (!real_tcgetattr) real_tcgetattr = (int (*)(int, struct termios *))dlsym(RTLD_NEXT, "tcgetattr");
  if (!real_tcsetattr) real_tcsetattr = (int (*)(int, int, const struct termios *))dlsym(RTLD_NEXT, "tcsetattr");
}

/* Unix98 pty slaves have majors 136 to 143. */
static int pty_slave(int fd, dev_t *dev) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return 0;
  unsigned maj = major(st.st_rdev);
  if (maj < 136 || maj > 143) return 0;
  *dev = st.st_rdev;
  return 1;
}

/* Caller holds the lock. */
static struct line *line_of(dev_t dev) {
  struct line *free_slot = NULL;
  for (int i = 0; i < MAX_LINES; i++) {
    if (lines[i].used && lines[i].dev == dev) return &lines[i];
    if (!lines[i].used && !free_slot) free_slot = &lines[i];
  }
  if (!free_slot) free_slot = &lines[0];
  memset(free_slot, 0, sizeof *free_slot);
  free_slot->used = 1;
  free_slot->dev = dev;
  free_slot->modem = TIOCM_DTR | TIOCM_RTS;
  return free_slot;
}

static int baud_of(speed_t s) {
  static const struct { speed_t s; int b; } map[] = {
    {B50, 50}, {B75, 75}, {B110, 110}, {B134, 134}, {B150, 150}, {B200, 200}, {B300, 300},
    {B600, 600}, {B1200, 1200}, {B1800, 1800}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600},
    {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    {B460800, 460800}, {B500000, 500000}, {B576000, 576000}, {B921600, 921600},
    {B1000000, 1000000}, {B1152000, 1152000}, {B1500000, 1500000}, {B2000000, 2000000}};
  for (size_t i = 0; i < sizeof map / sizeof map[0]; i++)
    if (map[i].s == s) return map[i].b;
  return 0;
}

/* Caller holds the lock. */
static void publish(struct line *l) {
  vline_settings s;
  memset(&s, 0, sizeof s);
  if (l->has_termios) {
    tcflag_t c = l->t.c_cflag;
    s.baud = baud_of(cfgetospeed(&l->t));
    s.parity = !(c & PARENB) ? 'N' : (c & CMSPAR) ? ((c & PARODD) ? 'M' : 'S') : ((c & PARODD) ? 'O' : 'E');
    switch (c & CSIZE) { case CS5: s.data_bits = 5; break; case CS6: s.data_bits = 6; break;
                         case CS7: s.data_bits = 7; break; default: s.data_bits = 8; }
    s.stop_bits = (c & CSTOPB) ? 2 : 1;
  } else {
    s.parity = 'N';
    s.data_bits = 8;
    s.stop_bits = 1;
  }
  s.dtr = !!(l->modem & TIOCM_DTR);
  s.rts = !!(l->modem & TIOCM_RTS);
  s.seq = ++l->seq;
  char slave[32];
  snprintf(slave, sizeof slave, "/dev/pts/%u", (major(l->dev) - 136) * 256 + minor(l->dev));
  vline_settings_publish(slave, &s);
}

static int shadow_get(int fd, struct termios *t) {
  resolve();
  int r = real_tcgetattr(fd, t);
  dev_t dev;
  if (r != 0 || !pty_slave(fd, &dev)) return r;
  pthread_mutex_lock(&lock);
  struct line *l = line_of(dev);
  if (l->has_termios) *t = l->t;
  pthread_mutex_unlock(&lock);
  return 0;
}

static int shadow_set(int fd, int act, const struct termios *t) {
  resolve();
  dev_t dev;
  if (!pty_slave(fd, &dev)) return real_tcsetattr(fd, act, t);
  struct termios real = *t;
  real.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR);
  real.c_cflag |= CS8;
  int r = real_tcsetattr(fd, act, &real);
  if (r != 0) return r;
  pthread_mutex_lock(&lock);
  struct line *l = line_of(dev);
  l->t = *t;
  l->has_termios = 1;
  publish(l);
  pthread_mutex_unlock(&lock);
  return 0;
}

int tcgetattr(int fd, struct termios *t) { return shadow_get(fd, t); }
int tcsetattr(int fd, int act, const struct termios *t) { return shadow_set(fd, act, t); }

/* True when a test asked that this pty's modem lines cannot be read. */
static int modem_refused(dev_t dev) {
  char slave[32], path[160];
  snprintf(slave, sizeof slave, "/dev/pts/%u", (major(dev) - 136) * 256 + minor(dev));
  vline_state_path(slave, path, sizeof path - sizeof VLINE_NOMODEM_SUFFIX);
  strcat(path, VLINE_NOMODEM_SUFFIX);
  return access(path, F_OK) == 0;
}

int ioctl(int fd, unsigned long req, ...) {
  va_list ap;
  va_start(ap, req);
  void *arg = va_arg(ap, void *);
  va_end(ap);
  resolve();
  dev_t dev;
  switch (req) {
  case TIOCMGET: case TIOCMSET: case TIOCMBIS: case TIOCMBIC:
  case TIOCGICOUNT: case TIOCSBRK: case TIOCCBRK:
  case TCGETS: case TCSETS: case TCSETSW: case TCSETSF:
    if (pty_slave(fd, &dev)) break;
    /* fall through */
  default:
    return real_ioctl(fd, req, arg);
  }
  switch (req) {
  case TCGETS: return shadow_get(fd, (struct termios *)arg);
  case TCSETS: return shadow_set(fd, TCSANOW, (const struct termios *)arg);
  case TCSETSW: return shadow_set(fd, TCSADRAIN, (const struct termios *)arg);
  case TCSETSF: return shadow_set(fd, TCSAFLUSH, (const struct termios *)arg);
  case TIOCGICOUNT:
    memset(arg, 0, sizeof(struct serial_icounter_struct));
    return 0;
  case TIOCSBRK: case TIOCCBRK:
    return 0;
  case TIOCMGET:
    if (modem_refused(dev)) {
      errno = EINVAL;
      return -1;
    }
    break;
  }
  pthread_mutex_lock(&lock);
  struct line *l = line_of(dev);
  int old = l->modem;
  switch (req) {
  case TIOCMGET: *(int *)arg = l->modem | TIOCM_CTS | TIOCM_DSR | TIOCM_CAR; break;
  case TIOCMSET: l->modem = *(int *)arg & (TIOCM_DTR | TIOCM_RTS); break;
  case TIOCMBIS: l->modem |= *(int *)arg & (TIOCM_DTR | TIOCM_RTS); break;
  case TIOCMBIC: l->modem &= ~(*(int *)arg & (TIOCM_DTR | TIOCM_RTS)); break;
  }
  if (l->modem != old) publish(l);
  pthread_mutex_unlock(&lock);
  return 0;
}
