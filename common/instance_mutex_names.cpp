// Column H of the Model table: the status monitor's single-instance mutex, one per model, in the
// machine-wide namespace so that monitors of sibling models run side by side.
#include "model_table.h"

const char* const InstanceMutexName[kModelCount] = {
    "Global\\{ABD001B6-D7F6-4349-b895-7B7FB261FEC1}",
    "Global\\{583C1D25-C112-4d2d-8309-5FB1F44F60F1}",
    "Global\\{BBE3350B-D092-4284-b369-EDDB90765BD3}",
    "Global\\{0D8E82FC-8390-4b85-932c-89D82B811316}",
    "Global\\{381AD203-832A-44e1-aaf2-6BEA9546C0A4}",
    "Global\\{8BB501A1-7B60-4836-a5dc-EA07AC6A24E0}",
    "Global\\{A658C415-55C6-49b7-a8a9-CA070F4781E2}",
    "Global\\{47463B11-B6F9-47b1-9181-36EFB0E6FB18}",
    "Global\\{A1DBF092-9DE7-4490-968e-664BC16033B8}",
    "Global\\{0D3E3914-5550-49fb-abbb-74067E84515C}",
    "Global\\{A29C3FA5-7A30-4a9e-891c-835BDACCADBB}",
    "Global\\{8F5FF552-87C2-452f-97b1-C29A4D226464}",
    "Global\\{67B27C10-9A86-4e34-a719-1F57D1DC8316}",
    "Global\\{9570A756-96D8-4751-8627-7C7C0FB52C8C}",
    "Global\\{29ABE84F-1EF3-4c82-85D5-B3FCDFB64942}",
};
