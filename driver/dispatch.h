/* Request handling of the hwinterface port I/O driver, kept free of kernel headers so that the
 * same code runs in the driver and in the native unit tests.
 *
 * The device serves one request: read one byte from an I/O port (buffered transfer; input: the
 * port address, unsigned 16-bit little-endian; output: the byte). Everything else is refused,
 * the write request in particular: the device is open to every user, and port writes would let
 * any of them reprogram hardware. */
#ifndef HWINTERFACE_DISPATCH_H
#define HWINTERFACE_DISPATCH_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Device control codes: device type 0x9C40, functions 0x801 and 0x802, buffered, any access. */
#define HWIF_IOCTL_READ_PORT_BYTE 0x9C402004u
#define HWIF_IOCTL_WRITE_PORT_BYTE 0x9C402008u

/* The NT status values the driver completes requests with. */
#define HWIF_STATUS_SUCCESS 0x00000000u
#define HWIF_STATUS_INVALID_PARAMETER 0xC000000Du
#define HWIF_STATUS_INVALID_DEVICE_REQUEST 0xC0000010u
#define HWIF_STATUS_BUFFER_TOO_SMALL 0xC0000023u

#define HWIF_READ_INPUT_SIZE 2u
#define HWIF_READ_OUTPUT_SIZE 1u

typedef enum hwif_action {
    HWIF_ACTION_READ_PORT = 1, /* read the byte at `port` */
    HWIF_ACTION_REFUSE = 2     /* complete with `status`, no data */
} hwif_action;

typedef struct hwif_decision {
    hwif_action action;
    uint16_t port;   /* HWIF_ACTION_READ_PORT only */
    uint32_t status; /* HWIF_ACTION_REFUSE only */
} hwif_decision;

/* What to do with a device control request. `input` is the request's buffer (the system buffer
 * of a buffered request), `input_length` and `output_length` its two sizes. */
hwif_decision hwif_decide(uint32_t code, const void* input, uint32_t input_length,
                          uint32_t output_length);

/* Reads one byte from an I/O port; the driver passes HAL's READ_PORT_UCHAR here. */
typedef uint8_t (*hwif_port_reader)(uint16_t port);

typedef struct hwif_completion {
    uint32_t status;
    uint32_t information; /* bytes of output */
} hwif_completion;

/* Serves one buffered device control request in place: decides, reads the port when the
 * request is the read request, and stores the byte in the first byte of `buffer`. A refused
 * request neither reads a port nor touches the buffer. */
hwif_completion hwif_serve(uint32_t code, void* buffer, uint32_t input_length,
                           uint32_t output_length, hwif_port_reader read_port);

#ifdef __cplusplus
}
#endif

#endif
