TransferState {
    isDownload: false
}
