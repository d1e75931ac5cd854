// The transport-stream recorder; the main frame receives its disk-full report.
#pragma once

class CMPEG2Recorder {
public:
    class CRecCallback {
    public:
        virtual ~CRecCallback() = default;
        virtual void OnDiskFull() = 0;
    };
    virtual ~CMPEG2Recorder() = default;
};
