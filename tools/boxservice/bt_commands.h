#pragma once
// The service commands for the Bluetooth serial module of the terminal: reading its
// configuration, and pairing it with a Varbox in range.
namespace corvan::boxservice {

class PortSession;

// "AT+ZV" and its answer in a message box (or the message that nothing came).
void readBluetoothConfiguration(PortSession& session);

// The pairing: mode 3, restart, inquiry, the technician's choice, mode 2, the chosen
// address and PIN, restart. Every step that fails says so; some stop the pairing.
void pairBluetooth(PortSession& session);

}  // namespace corvan::boxservice
