TransferState {
    isDownload: true
}
