#include "driver/dispatch.h"

static hwif_decision refuse(uint32_t status)
{
    hwif_decision d;
    d.action = HWIF_ACTION_REFUSE;
    d.port = 0;
    d.status = status;
    return d;
}

hwif_decision hwif_decide(uint32_t code, const void* input, uint32_t input_length,
                          uint32_t output_length)
{
    const uint8_t* bytes = (const uint8_t*)input;
    hwif_decision d;

    if (code != HWIF_IOCTL_READ_PORT_BYTE)
        return refuse(HWIF_STATUS_INVALID_DEVICE_REQUEST);
    if (input_length < HWIF_READ_INPUT_SIZE || output_length < HWIF_READ_OUTPUT_SIZE)
        return refuse(HWIF_STATUS_BUFFER_TOO_SMALL);
    if (bytes == 0)
        return refuse(HWIF_STATUS_INVALID_PARAMETER);

    d.action = HWIF_ACTION_READ_PORT;
    d.port = (uint16_t)(bytes[0] | (bytes[1] << 8));
    d.status = HWIF_STATUS_SUCCESS;
    return d;
}

hwif_completion hwif_serve(uint32_t code, void* buffer, uint32_t input_length,
                           uint32_t output_length, hwif_port_reader read_port)
{
    hwif_completion c;
    hwif_decision d = hwif_decide(code, buffer, input_length, output_length);

    if (d.action != HWIF_ACTION_READ_PORT || read_port == 0) {
        c.status = d.action == HWIF_ACTION_READ_PORT ? HWIF_STATUS_INVALID_DEVICE_REQUEST
                                                     : d.status;
        c.information = 0;
        return c;
    }
    ((uint8_t*)buffer)[0] = read_port(d.port);
    c.status = HWIF_STATUS_SUCCESS;
    c.information = HWIF_READ_OUTPUT_SIZE;
    return c;
}
