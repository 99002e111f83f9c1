// kettlemoor-virtual-pad: a gamepad made through Linux's uinput, laid out
// like an Xbox pad (buttons A B X Y, the shoulders, Back, Start and the
// centre button, a stick and a cross), so that the game's joystick half can
// be tried on a machine without a pad, by hand or by the gamepad test.
// It prints "ready" once the pad exists, then reads one command a line:
//   button N 1|0   the pad's Nth button (0 A ... 8 centre) down or up
//   axis A V       the stick's axis A (0 x, 1 y) to V (-32767 ... 32767)
//   hat X Y        the cross to X and Y (-1, 0 or 1 each)
// and takes the pad away at the end of its input. Exits with 77 when
// /dev/uinput cannot be opened, saying why.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

static const int PAD_BUTTONS[] = {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START, BTN_MODE};
static const int PAD_AXES[] = {ABS_X, ABS_Y};
static const int PAD_STICK_RANGE = 32767;

static void padSend(int fd, int type, int code, int value)
{
    input_event e = {};
    e.type = static_cast<__u16>(type);
    e.code = static_cast<__u16>(code);
    e.value = value;
    if (write(fd, &e, sizeof e) != static_cast<ssize_t>(sizeof e))
        perror("kettlemoor-virtual-pad: write");
}

static void padAxis(int fd, int code, int low, int high)
{
    uinput_abs_setup abs = {};
    abs.code = static_cast<__u16>(code);
    abs.absinfo.minimum = low;
    abs.absinfo.maximum = high;
    ioctl(fd, UI_SET_ABSBIT, code);
    ioctl(fd, UI_ABS_SETUP, &abs);
}

// Makes the pad; 0 on success.
static int padCreate(int fd)
{
    ioctl(fd, UI_SET_EVBIT, EV_KEY);
    ioctl(fd, UI_SET_EVBIT, EV_ABS);
    for (int button : PAD_BUTTONS)
        ioctl(fd, UI_SET_KEYBIT, button);
    for (int axis : PAD_AXES)
        padAxis(fd, axis, -PAD_STICK_RANGE, PAD_STICK_RANGE);
    padAxis(fd, ABS_HAT0X, -1, 1);
    padAxis(fd, ABS_HAT0Y, -1, 1);
    uinput_setup setup = {};
    setup.id.bustype = BUS_USB;
    setup.id.vendor = 0x1209; // the pid.codes vendor number for test devices
    setup.id.product = 0x0001;
    snprintf(setup.name, sizeof setup.name, "Kettlemoor test pad");
    if (ioctl(fd, UI_DEV_SETUP, &setup) < 0 || ioctl(fd, UI_DEV_CREATE) < 0)
        return 1;
    return 0;
}

// Carries out one command line; 0 when it was one.
static int padCommand(int fd, const char *line)
{
    int a = 0, b = 0;
    if (sscanf(line, "button %d %d", &a, &b) == 2 && a >= 0 && a < static_cast<int>(sizeof PAD_BUTTONS / sizeof *PAD_BUTTONS))
        padSend(fd, EV_KEY, PAD_BUTTONS[a], b != 0);
    else if (sscanf(line, "axis %d %d", &a, &b) == 2 && (a == 0 || a == 1))
        padSend(fd, EV_ABS, PAD_AXES[a], b);
    else if (sscanf(line, "hat %d %d", &a, &b) == 2)
        padSend(fd, EV_ABS, ABS_HAT0X, a), padSend(fd, EV_ABS, ABS_HAT0Y, b);
    else
        return 1;
    padSend(fd, EV_SYN, SYN_REPORT, 0);
    return 0;
}

int main(void)
{
    const int fd = open("/dev/uinput", O_WRONLY | O_NONBLOCK);
    if (fd < 0) {
        printf("kettlemoor-virtual-pad: can't open /dev/uinput: %s\n", strerror(errno));
        return 77;
    }
    if (padCreate(fd)) {
        printf("kettlemoor-virtual-pad: can't make a pad through /dev/uinput: %s\n", strerror(errno));
        close(fd);
        return 77;
    }
    // The system takes a moment to make the pad's device files.
    sleep(1);
    printf("ready\n");
    fflush(stdout);
    char line[100];
    while (fgets(line, sizeof line, stdin)) {
        if (padCommand(fd, line))
            fprintf(stderr, "kettlemoor-virtual-pad: not a command: %s", line);
    }
    ioctl(fd, UI_DEV_DESTROY);
    close(fd);
    return 0;
}
