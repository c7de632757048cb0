#pragma once

// What became of an upload.
struct UploadResult
{
    int toSend = 0; // the files handed to the upload
    int sent = 0;   // the files the server stored
    bool connected = false;
    bool stopped = false;     // a stop came before every file was tried
    bool tlsDeclined = false; // sent in clear, as the server offers no TLS

    // Every file handed over is stored on the server.
    bool complete() const { return connected && !stopped && sent == toSend; }
};
